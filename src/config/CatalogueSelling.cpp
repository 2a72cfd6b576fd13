// "GroupPrivileges", "ItemsToSell" and "RewardPackets".
#include <nlohmann/json.hpp>

#include <fmt/format.h>

#include "config/CatalogueEntries.h"
#include "config/CatalogueReader.h"
#include "config/ReadReport.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;

bool ReadItemToSell(const json& entry, ConfigItemToSell& item) {
  if (!Entries::Require(entry, "Name", "Warning: ItemToSell has no Name.")) return false;
  if (!Entries::Require(entry, "ItemToSell", "Warning: ItemToSell has no ItemToSell.")) return false;
  if (!Entries::Require(entry, "Amount", "Warning: ItemToSell has no Amount.")) return false;
  if (!Entries::Require(entry, "Price", "Warning: ItemToSell has no Price.")) return false;
  item.Name = Json::ReadText(entry, "Name");
  item.ItemToSell = Json::ReadAssetPath(entry, "ItemToSell");
  item.Amount = Json::ReadInt32(entry, "Amount", 0);
  item.Price = Json::ReadInt32(entry, "Price", 0);
  item.IconOverride = Json::ReadAssetPath(entry, "IconOverride");
  item.Description = Json::ReadText(entry, "Description");
  item.MaxSellAtOnce = Json::ReadInt32(entry, "MaxSellAtOnce", 0);
  return true;
}

bool ReadRewardPacket(const json& entry, const ConfigCatalogue& config, ConfigRewardPacket& reward) {
  reward.Name = Json::ReadText(entry, "Name");
  if (FindShopPacketByName(config, reward.Name) != nullptr) {
    Warn(fmt::format("RewardPacket \"{}\" has same name as a ShopPacket. Gets Ignored.", reward.Name.ToUtf8()));
    return false;
  }
  const FString from = Json::ReadText(entry, "FromShopPacket");
  reward.ShopPacket = FindShopPacketByName(config, from);
  if (reward.ShopPacket == nullptr) {
    Warn(fmt::format("ShopPacket \"{}\" for RewardPacket \"{}\" not found.", from.ToUtf8(), reward.Name.ToUtf8()));
    return false;
  }
  reward.InitAmountIfInViableGroups = Json::ReadInt32(entry, "InitAmountIfInViableGroups", 0);
  reward.MaxItemAmount = Json::ReadInt32(entry, "MaxItemAmount", 0);
  return true;
}

}  // namespace

void ReadGroupPrivileges(const json& root, ConfigCatalogue& config) {
  std::size_t index = 0;
  for (const json& entry : Json::ArrayOrNull(root, "GroupPrivileges")) {
    ReadGuarded("GroupPrivileges", [&] {
      EntryScope scope("GroupPrivileges", index++, entry);
      Json::RequireObject(entry, "GroupPrivileges");
      const TArray<FString> groups = Json::ReadTextList(entry, "ForGroups");
      const int32_t passive = Json::ReadInt32(entry, "PassivePointsAmount", 0);
      const float discount = Json::ReadFloat(entry, "ShopDiscount", 0.f) / 100.f;
      for (const FString& group : groups) config.GroupPrivileges.Add({group, discount, passive});
    });
  }
}

void ReadItemsToSell(const json& root, ConfigCatalogue& config, CatalogueIdCounters& ids) {
  std::size_t index = 0;
  for (const json& entry : Json::ArrayOrNull(root, "ItemsToSell")) {
    ReadGuarded("ItemsToSell", [&] {
      EntryScope scope("ItemsToSell", index++, entry);
      Json::RequireObject(entry, "ItemsToSell");
      ConfigItemToSell item;
      if (!ReadItemToSell(entry, item)) return;
      item.Id = ids.ItemToSell++;
      config.ItemsToSell.Add(std::move(item));
    });
  }
}

void ReadRewardPackets(const json& root, ConfigCatalogue& config, CatalogueIdCounters& ids) {
  std::size_t index = 0;
  for (const json& entry : Json::ArrayOrNull(root, "RewardPackets")) {
    ReadGuarded("RewardPackets", [&] {
      EntryScope scope("RewardPackets", index++, entry);
      Json::RequireObject(entry, "RewardPackets");
      ConfigRewardPacket reward;
      if (!ReadRewardPacket(entry, config, reward)) return;
      reward.Id = ids.RewardPacket++;
      config.RewardPackets.Add(std::move(reward));
    });
  }
}

}  // namespace ConfigHelper
