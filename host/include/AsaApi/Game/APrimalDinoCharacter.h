#pragma once
#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/FPrimalDinoCharacterSparseClassData.h"
#include "AsaApi/TArray.h"

struct APrimalDinoCharacter : APrimalCharacter {};
struct FARKDinoData;

namespace Game::APrimalDinoCharacter_ {
// Static: the game's creature base class.
inline const GameFunction<UClass*()> GetPrivateStaticClass{"APrimalDinoCharacter.GetPrivateStaticClass()"};
// Null when the class has no sparse data (with ReturnIfNull, or always in the variant without argument).
inline const GameFunction<FPrimalDinoCharacterSparseClassData*(APrimalDinoCharacter*, EGetSparseClassDataMethod)>
    GetPrimalDinoCharacterSparseClassData{
        "APrimalDinoCharacter.GetPrimalDinoCharacterSparseClassData(EGetSparseClassDataMethod)"};
inline const GameFunction<FPrimalDinoCharacterSparseClassData*(APrimalDinoCharacter*)>
    GetPrimalDinoCharacterSparseClassDataDefault{"APrimalDinoCharacter.GetPrimalDinoCharacterSparseClassData()"};

inline const GameBitField bUsesGender{"APrimalDinoCharacter.bUsesGender"};
inline const GameBitField bIsFemale{"APrimalDinoCharacter.bIsFemale"};
inline const GameBitField bNeutered{"APrimalDinoCharacter.bNeutered"};
inline const GameField<FString> TamerString{"APrimalDinoCharacter.TamerString"};
inline const GameField<int32_t> TamingTeamID{"APrimalDinoCharacter.TamingTeamID"};
inline const GameField<int32_t> AbsoluteBaseLevel{"APrimalDinoCharacter.AbsoluteBaseLevel"};
inline const GameField<FString> ImprinterName{"APrimalDinoCharacter.ImprinterName"};
inline const GameField<FString> ImprinterPlayerUniqueNetId{"APrimalDinoCharacter.ImprinterPlayerUniqueNetId"};
inline const GameField<int32_t> DinoID1{"APrimalDinoCharacter.DinoID1"};
inline const GameField<double> BabyNextCuddleTime{"APrimalDinoCharacter.BabyNextCuddleTime"};
inline const GameField<double> NextAllowedMatingTime{"APrimalDinoCharacter.NextAllowedMatingTime"};
inline const GameField<int32_t> RandomMutationsMale{"APrimalDinoCharacter.RandomMutationsMale"};
inline const GameField<int32_t> RandomMutationsFemale{"APrimalDinoCharacter.RandomMutationsFemale"};

inline const GameFunction<void(APrimalDinoCharacter*, bool)> AddWildGeneTraits{
    "APrimalDinoCharacter.AddWildGeneTraits(bool)"};
inline const GameFunction<void(APrimalDinoCharacter*)> BeginPlay{"APrimalDinoCharacter.BeginPlay()"};
inline const GameFunction<bool(APrimalDinoCharacter*, bool, bool)> Destroy{"APrimalDinoCharacter.Destroy(bool,bool)"};
inline const GameFunction<void(APrimalDinoCharacter*, FARKDinoData*)> GetDinoData{
    "APrimalDinoCharacter.GetDinoData(FARKDinoData&)"};
inline const GameFunction<TArray<FName>*(APrimalDinoCharacter*, TArray<FName>*)> GetColorSetNamesAsArray{
    "APrimalDinoCharacter.GetColorSetNamesAsArray()"};
inline const GameFunction<FString*(APrimalDinoCharacter*, FString*)> GetColorSetInidcesAsString{
    "APrimalDinoCharacter.GetColorSetInidcesAsString()"};
}  // namespace Game::APrimalDinoCharacter_
