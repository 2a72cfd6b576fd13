#pragma once
// The arithmetic of delivery, free of the game.
#include <cstdint>
#include <optional>

namespace DeliveryHelper {

// priceTotal + increase, held at the int32 limits instead of wrapping.
int32_t AddPrice(int32_t priceTotal, int32_t increase);

// The raw stat value that makes a stat show value, given the stat's base,
// scale and range; none when the value is not reachable (below the base, a
// damage under 100 %, a zero step, a non-finite result).
std::optional<uint16_t> StatRawValue(int statIndex, float value, float base, float scale, float range);

// The base level to give a creature so that it shows level after the class's
// level multiplier (used only when it is finite and above 0), within int32.
int32_t CreatureBaseLevel(int32_t level, std::optional<float> multiplier);

// The random gender: female when the creature's first id ends in 0 to 4.
bool RandomGenderIsFemale(int32_t dinoId1);

}  // namespace DeliveryHelper
