#pragma once
// The catalogue the packet-string fuzz target parses against: every kind of
// entry, variants with several names, a hidden command and a reward packet.
constexpr const char* FuzzShopJson = R"({
  "ShopCategories": [{"Name": "C"}],
  "ShopPackets": [
    {"ShopCategory": "C", "PacketName": "Kit", "Price": 100,
     "Items": [
       {"Variants": [{"Name": "Pick", "Blueprint": "a", "PriceIncrease": 0, "Amount": 1},
                     {"Name": "Axe", "Blueprint": "b", "PriceIncrease": 20, "Amount": 1}]},
       {"Variants": [{"Name": "Shirt", "Blueprint": "c", "PriceIncrease": 0, "Amount": 1}]}],
     "Dinos": [{"Variants": [{"Name": "Rex", "Blueprint": "r", "PriceIncrease": 50, "Level": 10},
                             {"Name": "Raptor", "Blueprint": "q", "PriceIncrease": 5, "Level": 10}]}],
     "Commands": [
       {"Variants": [{"Name": "Heal", "Command": "heal"}, {"Name": "Feed", "Command": "feed"}]},
       {"visibleInShop": false, "Variants": [{"Name": "Log", "Command": "log"}, {"Name": "X", "Command": "x"}]},
       {"visibleInShop": false, "Variants": []}]},
    {"ShopCategory": "C", "PacketName": "Empty", "Price": 1},
    {"ShopCategory": "C", "PacketName": "", "Price": 1}
  ],
  "RewardPackets": [{"Name": "Gift", "FromShopPacket": "kit"}]
})";
