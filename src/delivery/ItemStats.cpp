// Fixed stats and saddle armor of single items.
#include <algorithm>
#include <memory>

#include "AsaApi/Game/FItemStatInfo.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "delivery/DeliveryHelper.h"
#include "delivery/DeliveryMath.h"
#include "delivery/GameRecords.h"

namespace DeliveryHelper {
namespace {

constexpr int DurabilityStat = 2;
constexpr int ArmorStat = 1;

// The game's FItemStatInfo size, learnt once per process; 0 when unknown.
int32_t StatInfoSize() {
  static const int32_t size = ReportedStructSize(Game::FItemStatInfo_::StaticStruct);
  return size;
}

std::ptrdiff_t StatInfoBytesNeeded() {
  using namespace Game::FItemStatInfo_;
  return std::max({FieldEnd(InitialValueConstant), FieldEnd(StateModifierScale), FieldEnd(RandomizerRangeMultiplier)});
}

}  // namespace

void SetItemStat(UPrimalItem* item, int statIndex, float value) {
  if (item == nullptr || value == 0.0f) return;
  const int32_t size = StatInfoSize();
  if (size <= 0 || size < StatInfoBytesNeeded()) return;

  auto buffer = std::make_unique<std::byte[]>(static_cast<std::size_t>(size));
  auto* info = reinterpret_cast<FItemStatInfo*>(buffer.get());
  Game::UPrimalItem_::GetItemStatInfo(item, info, statIndex);
  const float base = Game::FItemStatInfo_::InitialValueConstant.Of(info);
  const float scale = Game::FItemStatInfo_::StateModifierScale.Of(info);
  const float range = Game::FItemStatInfo_::RandomizerRangeMultiplier.Of(info);
  buffer.reset();

  const std::optional<uint16_t> raw = StatRawValue(statIndex, value, base, scale, range);
  if (!raw) return;
  Game::UPrimalItem_::SetItemStatValues(item, statIndex, *raw);
  if (statIndex == DurabilityStat) {
    Game::UPrimalItem_::ItemDurability.Of(item) =
        Game::UPrimalItem_::GetItemStatModifier(item, EPrimalItemStat::MaxDurability);
  }
}

void SetSaddleArmor(UPrimalItem* item, float quality, float armor) {
  if (item == nullptr || armor == 0.0f) return;
  SetItemStat(item, ArmorStat, armor);
  if (quality > 0.0f) Game::UPrimalItem_::OverrideItemRating(item, quality);
}

}  // namespace DeliveryHelper
