#pragma once
// The mod shop with goods: packets of wood and stone (item classes of the
// simulated game), a hidden packet, a command packet, a reward packet and an
// item to sell; Discord webhooks to the simulator's receiver.
#include <string>

#include "ModShopFixture.h"
#include "sim/world/GameModel.h"
#include "sim/world/Inventory.h"
#include "sim/companions/WebServices.h"

namespace shopops {

inline const std::string WoodPath = "Blueprint'/Game/Items/Wood.Wood'";
inline const std::string StonePath = "Blueprint'/Game/Items/Stone.Stone'";

class ShopOps : public ModShop {
 protected:
  void SetUp() override {
    ModShop::SetUp();
    wood_ = AddItemClass(WoodPath);
    stone_ = AddItemClass(StonePath);
    config_["GroupPrivileges"] = nlohmann::json::parse(R"([{"ForGroups": ["Gold"], "ShopDiscount": 25}])");
    // No passive reward in the middle of a purchase: without an interval every player is paid (0
    // points, told all the same) whenever the clock moved, and a loaded machine lets the timer
    // come before the purchase's own message.
    config_["General"]["RewardIntervalMinutes"] = 60;
    config_["ShopCategories"] = nlohmann::json::parse(R"([{"Name": "Kits"}])");
    config_["ShopPackets"] = nlohmann::json::array({
        Packet("Wood Kit", 100, {{"Description", "Wood {x} 100% \"q\" \u00fcml"}},
               {{{"Name", "Wood"}, {"Blueprint", WoodPath}, {"Amount", 10}, {"PriceIncrease", 20}}}),
        Packet("Stone Kit", 50, {{"Description", "Stone"}}, {{{"Name", "Stone"}, {"Blueprint", StonePath}, {"Amount", 5}, {"PriceIncrease", 0}}}),
        Packet("Hidden Kit", 10, {{"HideFromBuy", true}}, {{{"Name", "Stone"}, {"Blueprint", StonePath}, {"Amount", 1}, {"PriceIncrease", 0}}}),
        Packet("Nothing Kit", 30, nlohmann::json::object(), {{{"Name", "Ghost"}, {"Blueprint", "Blueprint'/Game/Nope.Nope'"}, {"Amount", 1}, {"PriceIncrease", 0}}}),
    });
    config_["ItemsToSell"] = nlohmann::json::parse(
        "[{\"Name\": \"Stone\", \"ItemToSell\": \"" + EscapedStone() +
        "\", \"Amount\": 10, \"Price\": 5, \"MaxSellAtOnce\": 3, \"Description\": \"10 stone\"}]");
    config_["RewardPackets"] = nlohmann::json::parse(
        R"([{"Name": "Welcome Gift", "FromShopPacket": "Stone Kit", "InitAmountIfInViableGroups": 0, "MaxItemAmount": 5}])");
    for (const char* kind : {"Buy", "Sell", "Redeem", "Trade"})
      config_["DiscordLog"][kind] = {{"enabled", true}, {"webhook", std::string("http://") + sim::DiscordHost +
                                                                       "/webhooks/" + kind}};
  }

  static std::string EscapedStone() { return StonePath; }

  static nlohmann::json Packet(const std::string& name, int price, nlohmann::json extra, nlohmann::json variants) {
    nlohmann::json packet = {{"ShopCategory", "Kits"}, {"PacketName", name}, {"Price", price}};
    packet.update(extra);
    packet["Items"] = nlohmann::json::array({{{"Variants", variants}}});
    return packet;
  }

  static sim::SimClass* AddItemClass(const std::string& path) {
    sim::ItemClassSpec spec;
    spec.Path = path;
    spec.MaxStack = 1000;
    return sim::ItemClasses::Add(spec);
  }

  // Joins, waits for the player's row and gives them points.
  sim::SimPlayer& JoinWith(const std::string& eosId, uint64_t linkedId, int64_t points,
                           std::vector<std::string> groups = {}) {
    sim::SimPlayer& player = Join(eosId, linkedId, std::move(groups));
    EXPECT_TRUE(fixture_.TickUntil([&] { return Points(eosId) >= 0; }));
    Sql().Exec("UPDATE " + prefix_ + "_player_points SET points=" + std::to_string(points) + " WHERE eosId='" +
               eosId + "'");
    return player;
  }

  int64_t Points(const std::string& eosId) {
    return Sql().Number("SELECT COALESCE((SELECT points FROM " + prefix_ + "_player_points WHERE eosId='" + eosId +
                        "'), -1)");
  }
  int64_t Count(const std::string& table, const std::string& where = "1") {
    return Sql().Number("SELECT COUNT(*) FROM " + prefix_ + "_" + table + " WHERE " + where);
  }
  int32_t Held(const std::string& eosId, const std::string& key) {
    return static_cast<int32_t>(Sql().Number("SELECT COALESCE(SUM(amount), 0) FROM " + prefix_ +
                                             "_player_redeems WHERE eosId='" + eosId + "' AND packetStr='" + key + "'"));
  }
  void Hold(const std::string& eosId, const std::string& key, int amount, bool reward = false) {
    Sql().Exec("INSERT INTO " + prefix_ + "_player_redeems (eosId, packetStr, amount, lastChange, isRewardPacket) VALUES ('" +
               eosId + "','" + key + "'," + std::to_string(amount) + ",0," + (reward ? "1" : "0") + ") ON DUPLICATE KEY UPDATE amount=" +
               std::to_string(amount));
  }

  // Ann holds three Stone Kits and asks to redeem two while another connection
  // locks her held row (lock, a connection of the test's), so the database's
  // take waits; committing lock lets it go on.
  void RedeemTwoOfThreeBehindALock(sim::SimPlayer& ann, dbtest::RawSql& lock) {
    Hold("AnnEos", "Stone Kit,1;Stone;;", 3);
    lock.Exec("START TRANSACTION");
    lock.Rows("SELECT amount FROM " + prefix_ + "_player_redeems WHERE eosId='AnnEos' FOR UPDATE");
    Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,2;Stone;;");
    Settle(800);  // the request passed its checks; the database waits for the lock
  }

  int32_t ItemsOf(sim::SimPlayer& player, sim::SimClass* cls) {
    return Server().Model().Items.CountOf(player.Character->Inventory, cls);
  }
  void Give(sim::SimPlayer& player, sim::SimClass* cls, int32_t quantity) {
    Server().Model().Items.NewItem(cls, player.Character->Inventory, quantity);
  }

  // The Id of a packet's first item variant as the mod sees it in the category list.
  int32_t VariantId(sim::SimPlayer& player, const std::string& packetName) {
    const std::string eosId = player.Controller->EosId.ToUtf8();
    const std::size_t before = Mod().EventsOf(eosId, "a_cat").size();
    PastThrottle();
    Mod().Send(player, TandorShopMod::MsgCategory, 0);
    EXPECT_TRUE(WaitForEvents(eosId, "a_cat", before + 1));
    for (const auto& event : Mod().EventsOf(eosId, "a_cat"))
      for (const auto& view : event)
        if (view["PacketName"] == packetName) return view["Items"][0]["Variants"][0]["Id"];
    ADD_FAILURE() << "no view of " << packetName;
    return -1;
  }

  // Lets the game loop run for a while (workers and continuations settle).
  void Settle(int ms = 600) {
    fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(ms));
  }
  // The next request of the same kind passes the 501 ms throttle.
  void PastThrottle() { Server().AdvanceClock(1); }

  std::vector<std::string> Chat(const std::string& eosId) {
    std::vector<std::string> texts;
    for (const auto& message : Server().MessagesOf(eosId)) texts.push_back(message.Text);
    return texts;
  }

  sim::SimClass* wood_ = nullptr;
  sim::SimClass* stone_ = nullptr;
};

}  // namespace shopops
