#pragma once
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"

struct UPrimalCharacterStatusComponent : UActorComponent {};

// The game's status numbering: 0 health, 1 stamina, 2 torpidity, 3 oxygen, 4 food,
// 5 water, 6 temperature, 7 weight, 8 melee damage, 9 speed, 10 fortitude,
// 11 crafting speed.
namespace EPrimalCharacterStatusValue {
enum Type : uint8_t { Health = 0, Stamina = 1, Torpidity = 2, Oxygen = 3, Food = 4, MAX = 12 };
}

namespace Game::UPrimalCharacterStatusComponent_ {
inline const GameField<float[12]> CurrentStatusValues{"UPrimalCharacterStatusComponent.CurrentStatusValues"};
inline const GameField<float[12]> MaxStatusValues{"UPrimalCharacterStatusComponent.MaxStatusValues"};
inline const GameField<uint8_t[12]> NumberOfLevelUpPointsApplied{
    "UPrimalCharacterStatusComponent.NumberOfLevelUpPointsApplied"};
inline const GameField<uint8_t[12]> NumberOfMutationsAppliedTamed{
    "UPrimalCharacterStatusComponent.NumberOfMutationsAppliedTamed"};
inline const GameField<uint8_t[12]> NumberOfLevelUpPointsAppliedTamed{
    "UPrimalCharacterStatusComponent.NumberOfLevelUpPointsAppliedTamed"};
inline const GameField<float> DinoImprintingQuality{"UPrimalCharacterStatusComponent.DinoImprintingQuality"};
inline const GameFunction<float(UPrimalCharacterStatusComponent*, EPrimalCharacterStatusValue::Type)>
    GetStatusValueRecoveryRate{
        "UPrimalCharacterStatusComponent.GetStatusValueRecoveryRate(EPrimalCharacterStatusValue::Type)"};
inline const GameFunction<void(UPrimalCharacterStatusComponent*)> RescaleAllStats{
    "UPrimalCharacterStatusComponent.RescaleAllStats()"};
}  // namespace Game::UPrimalCharacterStatusComponent_
