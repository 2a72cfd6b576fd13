#include "config/ConfigSchema.h"

#include <stdexcept>

#include <algorithm>
#include <cctype>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "config/ShopConfig.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;
using Keys = std::vector<SchemaKey>;

const Keys TopLevel = {{"ConfigPathOverwrite", ""},  "Mysql",
                       "General",                    "DiscordLog",
                       "Messages",                   {"GroupPrivileges", json::array()},
                       {"ShopCategories", json::array()}, {"ItemsToSell", json::array()},
                       {"ShopPackets", json::array()},    {"RewardPackets", json::array()}};
const Keys Mysql = {{"server", ""},   {"port", 123},        {"username", ""},         {"password", ""},
                    {"database", ""}, {"tablePrefix", ""}, {"KeepConnections", false}};
const Keys General = {{"ShopName", ""},
                      {"ShopKey", "F2"},
                      {"BuffName", ""},
                      {"CryoPodOverride", DefaultCryoPodPath},
                      {"RewardIntervalMinutes", 30},
                      {"ShowPacketsAvailableInHours", 8760},
                      {"SumPlayerPassivePointsAmount", false},
                      {"SumPlayerShopDiscount", false},
                      {"DisableMultiuse", false},
                      {"DisableSell", false},
                      {"DisableTrade", false},
                      {"ShowBuffIcon", true},
                      "PreventOptions",
                      {"GroupsHiddenFromTrade", json::array()},
                      "ButtonOverwrites",
                      {"BuffIconOverride", ""},
                      {"ShopIconOverride", ""}};
const Keys PreventOptions = {
    {"PreventWhileHandcuffed", false}, {"PreventWhileKnockedOut", false}, {"PreventWhileRiding", false}};
const Keys Buttons = {"Buy", "Sell", "Log", "Redeem", "Trade"};
const Keys Button = {{"Text", ""}, {"Icon", ""}};
const Keys DiscordKinds = {"Buy", "Sell", "Redeem", "Trade"};
const Keys DiscordKind = {{"enabled", false}, {"webhook", ""}};
const ConfigMessages MessageTexts;
const Keys Messages = {{"BoughtItem", MessageTexts.BoughtItem},         {"GotTimedPoints", MessageTexts.GotTimedPoints},
                       {"MissingPoints", MessageTexts.MissingPoints},   {"RedeemPacket", MessageTexts.RedeemPacket},
                       {"GotTradePoints", MessageTexts.GotTradePoints}, {"SendPoints", MessageTexts.SendPoints}};
const Keys GroupPrivilege = {"ForGroups", "PassivePointsAmount", "ShopDiscount"};
const Keys Category = {"Name", "Description", "IconOverride", "ExcludeGroups", "IncludeGroups"};
const Keys ItemToSell = {"Name", "ItemToSell", "Amount", "Price", "IconOverride", "Description", "MaxSellAtOnce"};
const Keys Packet = {"ShopCategory",
                     "PacketName",
                     "Price",
                     "HideFromBuy",
                     "EarliestAvailableAtServerTimeHours",
                     "ExcludeFromDiscount",
                     "Description",
                     "ServerCooldownHours",
                     "PlayerCooldownHours",
                     "MinCharLevel",
                     "MaxCharLevel",
                     "MaxPurchaseSameTime",
                     "IconOverride",
                     "OnlyOnTheseMaps",
                     "ExcludeGroups",
                     "IncludeGroups",
                     "ExtraTimeSettings",
                     "Items",
                     "Dinos",
                     "Commands"};
const Keys TimeSettings = {"Include", "Exclude"};
const Keys Group = {"Variants"};
const Keys CommandGroup = {"Variants", "visibleInShop"};
const Keys ItemVariant = {"Name",       "Blueprint",   "PriceIncrease", "Amount",    "Quality",  "ForceBlueprint",
                          "LimitBlueprintUse", "FixedArmor", "FixedDamage", "FixedDura", "FixedHypo", "FixedHyper"};
const Keys DinoVariant = {"Name",    "Blueprint", "PriceIncrease", "Level",         "ImprintQuality",   "Neutered",
                          "HasTraits", "Gender",  "Saddle",        "SaddleQuality", "FixedSaddleArmor", "ExtraOptions"};
const Keys ExtraOptions = {"GachaResources", "Stryder"};
const Keys GachaResource = {"Amount", "Item"};
const Keys Stryder = {"HeadItem", "BodyItem"};
const Keys CommandVariant = {"Name", "Command", "Title", "Description", "PriceIncrease", "AsAdmin", "IconOverride"};
const Keys RewardPacket = {"Name", "FromShopPacket", "InitAmountIfInViableGroups", "MaxItemAmount"};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string EntryLabel(const char* section, std::size_t index, const json& entry) {
  for (const char* key : {"PacketName", "Name"}) {
    const auto it = entry.find(key);
    if (it != entry.end() && it->is_string())
      return fmt::format("{}[{}] \"{}\"", section, index, it->get_ref<const std::string&>());
  }
  return fmt::format("{}[{}]", section, index);
}

std::string Join(const std::string& outer, const std::string& inner) {
  return outer.empty() ? inner : outer + " > " + inner;
}

class UnknownKeys {
 public:
  std::vector<ConfigProblem> Problems;

  // Checks the keys of `object` (when it is one) against `known`.
  void Object(const json& object, const Keys& known, const std::string& where) {
    if (!object.is_object()) return;
    std::vector<std::string> names;
    for (const SchemaKey& entry : known) names.push_back(entry.Name);
    for (const auto& [key, value] : object.items()) {
      if (std::find(names.begin(), names.end(), key) != names.end()) continue;
      const std::string closest = ClosestName(key, names);
      std::string text = fmt::format("unknown key \"{}\" is ignored", key);
      if (!closest.empty()) text += fmt::format(" (did you mean {}?)", closest);
      Problems.push_back({ProblemKind::Warning, where, text});
    }
  }

  // Each object of the array under `key`, checked by `each`.
  template <typename Each>
  void Array(const json& parent, const char* key, const std::string& where, Each each) {
    if (!parent.is_object()) return;
    const auto it = parent.find(key);
    if (it == parent.end() || !it->is_array()) return;
    for (std::size_t i = 0; i < it->size(); ++i) {
      const json& entry = (*it)[i];
      if (entry.is_object()) each(entry, Join(where, EntryLabel(key, i, entry)));
    }
  }

  const json& Member(const json& parent, const char* key) {
    static const json null;
    if (!parent.is_object()) return null;
    const auto it = parent.find(key);
    return it == parent.end() ? null : *it;
  }

  void Variants(const json& group, const std::string& where, const Keys& variantKeys) {
    Array(group, "Variants", where, [&](const json& variant, const std::string& at) {
      Object(variant, variantKeys, at);
      if (&variantKeys == &DinoVariant) DinoOptions(variant, at);
    });
  }

  void DinoOptions(const json& variant, const std::string& where) {
    const json& options = Member(variant, "ExtraOptions");
    const std::string at = Join(where, "ExtraOptions");
    Object(options, ExtraOptions, at);
    Array(options, "GachaResources", at, [&](const json& r, const std::string& in) { Object(r, GachaResource, in); });
    Object(Member(options, "Stryder"), Stryder, Join(at, "Stryder"));
  }

  void Packet(const json& packet, const std::string& where) {
    Object(packet, ConfigHelper::Packet, where);
    Object(Member(packet, "ExtraTimeSettings"), TimeSettings, Join(where, "ExtraTimeSettings"));
    Array(packet, "Items", where, [&](const json& g, const std::string& at) {
      Object(g, Group, at);
      Variants(g, at, ItemVariant);
    });
    Array(packet, "Dinos", where, [&](const json& g, const std::string& at) {
      Object(g, Group, at);
      Variants(g, at, DinoVariant);
    });
    Array(packet, "Commands", where, [&](const json& g, const std::string& at) {
      Object(g, CommandGroup, at);
      Variants(g, at, CommandVariant);
    });
  }

  void General(const json& general) {
    Object(general, ConfigHelper::General, "General");
    Object(Member(general, "PreventOptions"), PreventOptions, "General > PreventOptions");
    const json& buttons = Member(general, "ButtonOverwrites");
    Object(buttons, Buttons, "General > ButtonOverwrites");
    for (const auto& kind : Buttons)
      Object(Member(buttons, kind.Name.c_str()), Button, "General > ButtonOverwrites > " + kind.Name);
  }

  void Discord(const json& discord) {
    Object(discord, DiscordKinds, "DiscordLog");
    for (const auto& kind : DiscordKinds)
      Object(Member(discord, kind.Name.c_str()), DiscordKind, "DiscordLog > " + kind.Name);
  }
};

const std::pair<std::string_view, const Keys*> Sections[] = {
    {"TopLevel", &TopLevel},          {"Mysql", &Mysql},
    {"General", &General},            {"PreventOptions", &PreventOptions},
    {"Messages", &Messages},          {"GroupPrivileges", &GroupPrivilege},
    {"ShopCategories", &Category},    {"ShopPackets", &Packet},
    {"ItemVariants", &ItemVariant},   {"DinoVariants", &DinoVariant},
    {"CommandVariants", &CommandVariant}, {"ItemsToSell", &ItemToSell},
    {"RewardPackets", &RewardPacket}, {"DiscordLog", &DiscordKinds},
    {"DiscordKind", &DiscordKind},    {"ButtonOverwrites", &Buttons},
    {"Button", &Button},              {"ExtraTimeSettings", &TimeSettings},
    {"ExtraOptions", &ExtraOptions},  {"GachaResource", &GachaResource},
    {"Stryder", &Stryder}};

}  // namespace

const std::vector<SchemaKey>* SchemaSection(std::string_view section) {
  for (const auto& [name, keys] : Sections)
    if (name == section) return keys;
  return nullptr;
}

const json& SchemaDefault(std::string_view section, std::string_view key) {
  if (const Keys* keys = SchemaSection(section)) {
    for (const SchemaKey& entry : *keys)
      if (entry.Name == key) return entry.Default;
  }
  throw std::out_of_range(fmt::format("no key \"{}\" in the section \"{}\"", key, section));
}

std::string ClosestName(const std::string& word, const std::vector<std::string>& known) {
  const std::string lowered = Lower(word);
  std::string best;
  std::size_t bestDistance = 0;
  for (const auto& name : known) {
    const std::size_t distance = EditDistance(lowered, Lower(name));
    if (best.empty() || distance < bestDistance) {
      best = name;
      bestDistance = distance;
    }
  }
  // A likely misspelling: a few edits, fewer than half of the letters.
  const std::size_t allowed = std::min<std::size_t>(3, word.size() / 2);
  return !best.empty() && bestDistance <= allowed ? best : std::string();
}

std::vector<ConfigProblem> FindUnknownKeys(const json& root) {
  UnknownKeys check;
  check.Object(root, TopLevel, "");
  check.Object(check.Member(root, "Mysql"), Mysql, "Mysql");
  check.General(check.Member(root, "General"));
  check.Discord(check.Member(root, "DiscordLog"));
  check.Object(check.Member(root, "Messages"), Messages, "Messages");
  check.Array(root, "GroupPrivileges", "", [&](const json& e, const std::string& at) { check.Object(e, GroupPrivilege, at); });
  check.Array(root, "ShopCategories", "", [&](const json& e, const std::string& at) { check.Object(e, Category, at); });
  check.Array(root, "ItemsToSell", "", [&](const json& e, const std::string& at) { check.Object(e, ItemToSell, at); });
  check.Array(root, "ShopPackets", "", [&](const json& e, const std::string& at) { check.Packet(e, at); });
  check.Array(root, "RewardPackets", "", [&](const json& e, const std::string& at) { check.Object(e, RewardPacket, at); });
  return std::move(check.Problems);
}

}  // namespace ConfigHelper
