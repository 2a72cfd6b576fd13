#pragma once
// The custom data a cryopod keeps of its creature, written exactly as the game
// stores a creature in a cryopod.
#include <cstddef>
#include <cstdint>

#include "AsaApi/TArray.h"

struct APrimalDinoCharacter;
struct FARKDinoData;
struct FCustomItemData;
struct UWorld;
struct UClass;

namespace DeliveryHelper {

// The game keeps the two numeric lists of FCustomItemData at fixed places: the
// floats (TArray<float>) and the doubles (FCustomItemDoubles, a TArray<double>).
inline constexpr std::ptrdiff_t CustomDataFloatsOffset = 0x18;
inline constexpr std::ptrdiff_t CustomDataDoublesOffset = 0x28;
inline constexpr int32_t CryopodStringCount = 11;
inline constexpr int32_t CryopodNameTagIndex = 9;
inline constexpr float CryopodLevelUpBlockStart = 34.0f;

// Bytes a record of the game's size must have for the fields written here.
std::ptrdiff_t DinoDataBytesNeeded();
std::ptrdiff_t CustomItemDataBytesNeeded();

// Frees what the plugin or the game put into the records (they stay allocated).
void ReleaseDinoData(void* record);
void ReleaseCustomItemData(void* record);

// The name "Dino", the creature class, the creature's two names and its bytes (a copy).
void FillCryopodDinoData(FCustomItemData* data, const FARKDinoData* dinoData);
// Colours, the remaining strings, the 57 floats and the doubles.
void FillCryopodDinoStats(FCustomItemData* data, APrimalDinoCharacter* creature, UWorld* world, int64_t nowUnix);
// The creature's name tag from the game data at string 9, when there is one.
void AddDinoNameTag(FCustomItemData* data, UClass* creatureClass);
// Appends one more byte array (a saddle's bytes).
void AddCustomBytes(FCustomItemData* data, const TArray<uint8_t>& bytes);

}  // namespace DeliveryHelper
