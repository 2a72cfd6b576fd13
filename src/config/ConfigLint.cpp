#include "config/ConfigLint.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "config/HostList.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

const json& Member(const json& parent, const char* key) {
  static const json null;
  if (!parent.is_object()) return null;
  const auto it = parent.find(key);
  return it == parent.end() ? null : *it;
}

// The number under `key` when it is one; absent or of another type (which the
// reader reports) gives `fallback`.
double Number(const json& object, const char* key, double fallback) {
  const json& value = Member(object, key);
  return value.is_number() ? value.get<double>() : fallback;
}

std::string Text(const json& object, const char* key) {
  const json& value = Member(object, key);
  return value.is_string() ? value.get<std::string>() : std::string();
}

std::string Label(const char* section, std::size_t index, const json& entry) {
  for (const char* key : {"PacketName", "Name"}) {
    const std::string name = Text(entry, key);
    if (!name.empty()) return fmt::format("{}[{}] \"{}\"", section, index, name);
  }
  return fmt::format("{}[{}]", section, index);
}

class Lint {
 public:
  std::vector<ConfigProblem> Problems;

  void Warn(const std::string& where, std::string text) {
    Problems.push_back({ProblemKind::Warning, where, std::move(text)});
  }

  template <typename Each>
  void ForEach(const json& parent, const char* key, Each each) {
    const json& list = Member(parent, key);
    if (!list.is_array()) return;
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i].is_object()) each(list[i], Label(key, i, list[i]));
  }

  // Names that the shop finds by name, ignoring case: only the first of two
  // equal names can ever be found.
  void Duplicates(const json& root, const char* section, const char* nameKey, const char* what) {
    std::map<std::string, std::string> first;
    ForEach(root, section, [&](const json& entry, const std::string& at) {
      const std::string name = Text(entry, nameKey);
      if (name.empty()) return;
      const auto [it, inserted] = first.emplace(Lower(name), at);
      if (!inserted) Warn(at, fmt::format("duplicate {} name: {} has it already", what, it->second));
    });
  }

  void AtLeast(const json& object, const char* key, double minimum, const std::string& at, const char* why) {
    const json& value = Member(object, key);
    if (value.is_number() && value.get<double>() < minimum)
      Warn(at, fmt::format("\"{}\" is {}: {}", key, value.dump(), why));
  }

  void Variants(const json& packet, const char* groupKey, const std::string& at, int& classes) {
    ForEach(packet, groupKey, [&](const json& group, const std::string& groupAt) {
      ForEach(group, "Variants", [&](const json& variant, const std::string& variantAt) {
        const std::string where = at + " > " + groupAt + " > " + variantAt;
        AtLeast(variant, "PriceIncrease", 0, where, "a variant that lowers the price");
        if (std::string(groupKey) == "Items") AtLeast(variant, "Amount", 1, where, "nothing would be delivered");
        if (std::string(groupKey) == "Dinos") AtLeast(variant, "Level", 1, where, "not a creature level");
        if (std::string(groupKey) != "Commands") {
          classes += Member(variant, "Blueprint").is_string() ? 1 : 0;
          classes += Text(variant, "Saddle").empty() ? 0 : 1;
        }
      });
    });
  }

  void Packet(const json& packet, const std::string& at) {
    const json& price = Member(packet, "Price");
    if (price.is_number() && price.get<double>() < 0)
      Warn(at, fmt::format("\"Price\" is {}: a negative price would pay the buyer", price.dump()));
    else if (price.is_number() && price.get<double>() == 0 && Member(packet, "HideFromBuy") != json(true))
      Warn(at, "\"Price\" is 0: the packet is sold for nothing");
    AtLeast(packet, "MaxPurchaseSameTime", 0, at, "not a number of purchases");
    AtLeast(packet, "MinCharLevel", 0, at, "not a character level");
    AtLeast(packet, "MaxCharLevel", 0, at, "not a character level");
    AtLeast(packet, "PlayerCooldownHours", 0, at, "not a cooldown");
    AtLeast(packet, "ServerCooldownHours", 0, at, "not a cooldown");
    const double minLevel = Number(packet, "MinCharLevel", 0), maxLevel = Number(packet, "MaxCharLevel", 0);
    if (maxLevel > 0 && minLevel > maxLevel)
      Warn(at, fmt::format("\"MinCharLevel\" {} is above \"MaxCharLevel\" {}: nobody can buy it", minLevel, maxLevel));
    int classes = 0;
    Variants(packet, "Items", at, classes);
    Variants(packet, "Dinos", at, classes);
    Variants(packet, "Commands", at, classes);
    if (classes > 0) {
      Problems.push_back({ProblemKind::Note, at,
                          fmt::format("{} class path{} unverifiable here: the server resolves them when the shop opens",
                                      classes, classes == 1 ? " is" : "s are")});
    }
  }

  void ItemToSell(const json& item, const std::string& at) {
    AtLeast(item, "Amount", 1, at, "a sale would take no item");
    AtLeast(item, "Price", 1, at, "a sale would give no points or take some");
    AtLeast(item, "MaxSellAtOnce", 0, at, "not a number of sales");
  }

  // A reward packet is granted at login unless the player's cooldown of its
  // shop packet still runs; without one, a redeemed reward comes back.
  void Rewards(const json& root) {
    std::map<std::string, const json*> packets;
    ForEach(root, "ShopPackets", [&](const json& packet, const std::string&) {
      packets.emplace(Lower(Text(packet, "PacketName")), &packet);
    });
    ForEach(root, "RewardPackets", [&](const json& reward, const std::string& at) {
      AtLeast(reward, "InitAmountIfInViableGroups", 0, at, "not a number of packets");
      AtLeast(reward, "MaxItemAmount", 0, at, "not a number of packets");
      const auto it = packets.find(Lower(Text(reward, "FromShopPacket")));
      if (it == packets.end()) return;
      if (Number(*it->second, "PlayerCooldownHours", 0) * 3600.0 < 1.0) {
        Warn(at, fmt::format("its shop packet \"{}\" has no PlayerCooldownHours: granted again at every login once "
                             "redeemed",
                             Text(*it->second, "PacketName")));
      }
    });
  }

  // "server" as a list of database nodes. A list the reader refuses is its
  // error already; here: a node named twice, and what only a connection shows.
  void DatabaseNodes(const json& root) {
    const json& mysql = Member(root, "Mysql");
    const json& server = Member(mysql, "server");
    if (!server.is_string()) return;
    const HostList list = ParseHostList(server.get<std::string>(), static_cast<uint32_t>(Number(mysql, "port", 0)));
    if (!list.Valid() || list.endpoints.size() < 2) return;
    for (std::size_t i = 0; i < list.endpoints.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (list.endpoints[j] == list.endpoints[i]) {
          Warn("Mysql", fmt::format("\"server\" names the node {} twice", list.endpoints[i].Label()));
          break;
        }
      }
    }
    Problems.push_back({ProblemKind::Note, "Mysql",
                        fmt::format("{} database nodes: connections go to the first ready one in this order; "
                                    "whether they form one cluster shows when the shop connects",
                                    list.endpoints.size())});
  }
};

}  // namespace

std::vector<ConfigProblem> LintConfiguration(const json& root) {
  Lint lint;
  lint.Duplicates(root, "ShopCategories", "Name", "category");
  lint.Duplicates(root, "ShopPackets", "PacketName", "packet");
  lint.Duplicates(root, "RewardPackets", "Name", "reward packet");
  lint.ForEach(root, "ShopPackets", [&](const json& packet, const std::string& at) { lint.Packet(packet, at); });
  lint.ForEach(root, "ItemsToSell", [&](const json& item, const std::string& at) { lint.ItemToSell(item, at); });
  lint.Rewards(root);
  lint.DatabaseNodes(root);
  return std::move(lint.Problems);
}

}  // namespace ConfigHelper
