#pragma once
// A generated configuration of realistic shape: categories, group privileges,
// items to sell, `packets` shop packets (two items with two variants each, a
// dino, a visible and a hidden command, calendar filters on every tenth) and a
// reward packet for every hundredth packet.
#include <string>

#include <nlohmann/json.hpp>

inline nlohmann::json GeneratedShop(int packets) {
  using nlohmann::json;
  json root;
  root["General"] = {{"ShopName", "Bench"}, {"ShopKey", "F2"}};
  root["GroupPrivileges"] = json::array({{{"ForGroups", {"Vip", "Donor"}}, {"ShopDiscount", 10}}});
  json categories = json::array();
  for (int c = 0; c < 20; ++c) categories.push_back({{"Name", "Category " + std::to_string(c)}, {"Description", "d"}});
  root["ShopCategories"] = categories;
  json sell = json::array();
  for (int s = 0; s < 50; ++s)
    sell.push_back({{"Name", "Sell " + std::to_string(s)}, {"ItemToSell", "Blueprint'/Game/Sell.Sell'"}, {"Amount", 10},
                    {"Price", 2}});
  root["ItemsToSell"] = sell;

  const auto item = [](int p, int k) {
    return json{{"Variants", json::array({{{"Name", "Item " + std::to_string(p) + "." + std::to_string(k) + " A"},
                                           {"Blueprint", "Blueprint'/Game/PrimalEarth/Item_A.Item_A'"},
                                           {"PriceIncrease", 0}, {"Amount", 1}, {"Quality", 2.5}},
                                          {{"Name", "Item " + std::to_string(p) + "." + std::to_string(k) + " B"},
                                           {"Blueprint", "Blueprint'/Game/PrimalEarth/Item_B.Item_B'"},
                                           {"PriceIncrease", 15}, {"Amount", 5}, {"FixedArmor", 40}}})}};
  };
  json packetList = json::array();
  for (int p = 0; p < packets; ++p) {
    json packet = {{"ShopCategory", "category " + std::to_string(p % 20)},
                   {"PacketName", "Packet " + std::to_string(packets - p)},
                   {"Description", "Generated packet"},
                   {"Price", 100 + p},
                   {"PlayerCooldownHours", 1.5},
                   {"MinCharLevel", 10},
                   {"OnlyOnTheseMaps", {"TheIsland_WP"}},
                   {"Items", json::array({item(p, 0), item(p, 1)})},
                   {"Dinos", json::array({{{"Variants", json::array({{{"Name", "Rex"},
                                                                       {"Blueprint", "Blueprint'/Game/Rex.Rex'"},
                                                                       {"PriceIncrease", 500},
                                                                       {"Level", 150},
                                                                       {"Gender", "female"}}})}}})},
                   {"Commands", json::array({{{"Variants", json::array({{{"Name", "Xp"}, {"Command", "cheat xp"}}})}},
                                             {{"visibleInShop", false},
                                              {"Variants", json::array({{{"Name", "Log"}, {"Command", "log"}}})}}})}};
    if (p % 10 == 0) packet["ExtraTimeSettings"] = {{"Include", "wday:6,7"}, {"Exclude", "month:12"}};
    packetList.push_back(std::move(packet));
  }
  root["ShopPackets"] = packetList;
  json rewards = json::array();
  for (int r = 0; r < packets; r += 100)
    rewards.push_back({{"Name", "Reward " + std::to_string(r)}, {"FromShopPacket", "packet " + std::to_string(r + 1)}});
  root["RewardPackets"] = rewards;
  return root;
}
