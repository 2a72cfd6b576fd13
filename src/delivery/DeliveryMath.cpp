#include "delivery/DeliveryMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace DeliveryHelper {

namespace {
constexpr int DamageStat = 3;
constexpr float MaxRaw = 65535.0f;

int32_t ClampToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double low = std::numeric_limits<int32_t>::min();
  const double high = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(value, low, high));
}
}  // namespace

int32_t AddPrice(int32_t priceTotal, int32_t increase) {
  return ClampToInt32(static_cast<double>(priceTotal) + static_cast<double>(increase));
}

std::optional<uint16_t> StatRawValue(int statIndex, float value, float base, float scale, float range) {
  if (value == 0.0f || !std::isfinite(value)) return std::nullopt;
  if (statIndex == DamageStat) {
    base = 1.0f;
    value /= 100.0f;
    if (value < 1.0f) return std::nullopt;
  } else if (base >= 0.0f && base > value) {
    return std::nullopt;
  }
  if (base < 0.0f && value > base) return std::nullopt;
  const float step = range * scale * base;
  if (step == 0.0f || !std::isfinite(step)) return std::nullopt;
  const float raw = (value - base) / step;
  if (!std::isfinite(raw)) return std::nullopt;
  float rounded = static_cast<float>(static_cast<double>(raw) + 0.5);
  rounded = std::clamp(rounded, 0.0f, MaxRaw);
  return static_cast<uint16_t>(static_cast<uint32_t>(rounded) & 0xFFFFu);
}

int32_t CreatureBaseLevel(int32_t level, std::optional<float> multiplier) {
  if (!multiplier || *multiplier == 1.0f || !std::isfinite(*multiplier) || *multiplier <= 0.0f) return level;
  const float scaled = static_cast<float>(level) / *multiplier + 0.99f;
  return ClampToInt32(std::trunc(static_cast<double>(scaled)));
}

bool RandomGenderIsFemale(int32_t dinoId1) { return static_cast<uint32_t>(dinoId1) % 10u < 5u; }

}  // namespace DeliveryHelper
