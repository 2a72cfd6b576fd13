#include "delivery/CryopodData.h"

#include <algorithm>
#include <memory>

#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/FARKDinoData.h"
#include "AsaApi/Game/FCustomItemData.h"
#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UEngine.h"
#include "AsaApi/Game/UPrimalCharacterStatusComponent.h"
#include "AsaApi/Game/UPrimalGameData.h"
#include "AsaApi/Game/UPrimalGlobals.h"
#include "AsaApi/Game/UWorld.h"
#include "delivery/GameRecords.h"

namespace DeliveryHelper {
namespace {

constexpr int StatusCount = 11;  // the statuses a cryopod keeps (crafting speed is not kept)

TArray<float>& Floats(FCustomItemData* data) {
  return *reinterpret_cast<TArray<float>*>(reinterpret_cast<char*>(data) + CustomDataFloatsOffset);
}
TArray<double>& Doubles(FCustomItemData* data) {
  return *reinterpret_cast<TArray<double>*>(reinterpret_cast<char*>(data) + CustomDataDoublesOffset);
}

void AddStatusFloats(TArray<float>& floats, UPrimalCharacterStatusComponent* status, bool female) {
  using namespace Game::UPrimalCharacterStatusComponent_;
  const float* current = CurrentStatusValues.Of(status);
  const float* max = MaxStatusValues.Of(status);
  const uint8_t* levelUps = NumberOfLevelUpPointsApplied.Of(status);
  const uint8_t* mutations = NumberOfMutationsAppliedTamed.Of(status);
  const uint8_t* levelUpsTamed = NumberOfLevelUpPointsAppliedTamed.Of(status);
  for (int i = 0; i < StatusCount; ++i) floats.Add(current[i]);
  for (int i = 0; i < StatusCount; ++i) floats.Add(max[i]);
  for (int i = 0; i < StatusCount; ++i)
    floats.Add(GetStatusValueRecoveryRate(status, static_cast<EPrimalCharacterStatusValue::Type>(i)));
  floats.Add(female ? 1.0f : 0.0f);
  for (int i = 0; i < StatusCount; ++i)
    floats.Add(static_cast<float>(static_cast<int>(levelUps[i]) + static_cast<int>(mutations[i])));
  for (int i = 0; i < StatusCount; ++i) floats.Add(static_cast<float>(levelUpsTamed[i]));
  floats.Add(CryopodLevelUpBlockStart);
}

void AddDoubles(TArray<double>& doubles, APrimalDinoCharacter* creature, UPrimalCharacterStatusComponent* status,
                UWorld* world, int64_t nowUnix) {
  using namespace Game::APrimalDinoCharacter_;
  const double now = world != nullptr ? Game::UWorld_::TimeSeconds.Of(world) : 0.0;
  doubles.Add(now);
  doubles.Add(BabyNextCuddleTime.Of(creature) - now);
  doubles.Add(NextAllowedMatingTime.Of(creature));
  doubles.Add(static_cast<double>(RandomMutationsMale.Of(creature)));
  doubles.Add(static_cast<double>(RandomMutationsFemale.Of(creature)));
  if (status != nullptr) doubles.Add(Game::UPrimalCharacterStatusComponent_::DinoImprintingQuality.Of(status));
  doubles.Add(static_cast<double>(nowUnix));
}

// The game data: the override when set, else the game's own; null when a link is missing.
UPrimalGameData* GameData() {
  UEngine** engine = Game::Global_::GEngine.Address();
  if (engine == nullptr || *engine == nullptr) return nullptr;
  UObject* globals = Game::UEngine_::GameSingleton.Of(*engine);
  if (globals == nullptr) return nullptr;
  UPrimalGameData* data = Game::UPrimalGlobals_::PrimalGameDataOverride.Of(globals);
  return data != nullptr ? data : Game::UPrimalGlobals_::PrimalGameData.Of(globals);
}

template <typename T>
void Destroy(T& value) {
  std::destroy_at(&value);
}

}  // namespace

std::ptrdiff_t DinoDataBytesNeeded() {
  using namespace Game::FARKDinoData_;
  return std::max({FieldEnd(DinoClass), FieldEnd(DinoData), FieldEnd(DinoNameInMap), FieldEnd(DinoName)});
}

std::ptrdiff_t CustomItemDataBytesNeeded() {
  using namespace Game::FCustomItemData_;
  return std::max({FieldEnd(CustomDataName), FieldEnd(CustomDataClasses), FieldEnd(CustomDataNames),
                   FieldEnd(CustomDataStrings), FieldEnd(CustomDataBytes),
                   CustomDataFloatsOffset + static_cast<std::ptrdiff_t>(sizeof(TArray<float>)),
                   CustomDataDoublesOffset + static_cast<std::ptrdiff_t>(sizeof(TArray<double>))});
}

void ReleaseDinoData(void* record) {
  using namespace Game::FARKDinoData_;
  Destroy(DinoData.Of(record));
  Destroy(DinoNameInMap.Of(record));
  Destroy(DinoName.Of(record));
}

void ReleaseCustomItemData(void* record) {
  using namespace Game::FCustomItemData_;
  auto* data = static_cast<FCustomItemData*>(record);
  Destroy(CustomDataClasses.Of(data));
  Destroy(CustomDataNames.Of(data));
  Destroy(CustomDataStrings.Of(data));
  // Each inner byte array goes with the list.
  Destroy(Game::FCustomItemByteArrays_::ByteArrays.Of(&CustomDataBytes.Of(data)));
  Destroy(Floats(data));
  Destroy(Doubles(data));
}

void FillCryopodDinoData(FCustomItemData* data, const FARKDinoData* dinoData) {
  using namespace Game::FCustomItemData_;
  CustomDataName.Of(data) = FName("Dino");
  CustomDataClasses.Of(data).Add(Game::FARKDinoData_::DinoClass.Of(dinoData));
  TArray<FString>& strings = CustomDataStrings.Of(data);
  strings.Add(Game::FARKDinoData_::DinoNameInMap.Of(dinoData));
  strings.Add(Game::FARKDinoData_::DinoName.Of(dinoData));
  AddCustomBytes(data, Game::FARKDinoData_::DinoData.Of(dinoData));
}

void AddCustomBytes(FCustomItemData* data, const TArray<uint8_t>& bytes) {
  TArray<FCustomItemByteArray>& arrays =
      Game::FCustomItemByteArrays_::ByteArrays.Of(&Game::FCustomItemData_::CustomDataBytes.Of(data));
  FCustomItemByteArray copy;
  Game::FCustomItemByteArray_::Bytes.Of(&copy) = bytes;  // a copy of its own: both records are freed
  arrays.Add(std::move(copy));
}

void FillCryopodDinoStats(FCustomItemData* data, APrimalDinoCharacter* creature, UWorld* world, int64_t nowUnix) {
  using namespace Game::APrimalDinoCharacter_;
  TArray<FName> colorNames;
  GetColorSetNamesAsArray(creature, &colorNames);
  Game::FCustomItemData_::CustomDataNames.Of(data) = std::move(colorNames);

  FString colorIndices;
  GetColorSetInidcesAsString(creature, &colorIndices);
  const bool female = bIsFemale.Of(creature);
  TArray<FString>& strings = Game::FCustomItemData_::CustomDataStrings.Of(data);
  while (strings.Num() < 2) strings.Add(FString());
  strings.Add(colorIndices);
  strings.Add(FString(bNeutered.Of(creature) ? "NEUTERED" : ""));
  strings.Add(FString(bUsesGender.Of(creature) ? (female ? "FEMALE" : "MALE") : ""));
  strings.Add(FString());
  strings.Add(FString("0"));
  while (strings.Num() < CryopodStringCount) strings.Add(FString());

  UPrimalCharacterStatusComponent* status =
      Game::APrimalCharacter_::MyCharacterStatusComponent.Of(reinterpret_cast<APrimalCharacter*>(creature));
  if (status != nullptr) AddStatusFloats(Floats(data), status, female);
  AddDoubles(Doubles(data), creature, status, world, nowUnix);
}

void AddDinoNameTag(FCustomItemData* data, UClass* creatureClass) {
  UPrimalGameData* gameData = GameData();
  if (gameData == nullptr) return;
  UClass* entryClass = Game::UPrimalGameData_::GetDinoEntry(gameData, creatureClass);
  if (entryClass == nullptr) return;
  UObject* entry = Game::UClass_::GetDefaultObject(entryClass, true);
  if (entry == nullptr) return;
  TArray<FString>& strings = Game::FCustomItemData_::CustomDataStrings.Of(data);
  while (strings.Num() < CryopodNameTagIndex) strings.Add(FString());
  FString tag = Game::UPrimalDinoEntry_::DinoNameTag.Of(entry).ToString();
  if (strings.Num() > CryopodNameTagIndex)
    strings[CryopodNameTagIndex] = std::move(tag);
  else
    strings.Add(std::move(tag));
}

}  // namespace DeliveryHelper
