// The shop page's view, built from the mod's events and requests alone.
#include <gtest/gtest.h>

#include "AsaApi/Game/TandorShopMod.h"
#include "sim/page/ShopView.h"

namespace {

using nlohmann::json;

class ShopViewBuilder : public ::testing::Test {
 protected:
  void Event(const std::string& name, json data) { input_.Events.push_back({{"event", name}, {"data", data}}); }
  void Ask(const std::string& message, int32_t int1 = 0, const std::string& text = "") {
    input_.Requests.push_back({message, int1, 0, text, input_.Events.size()});
  }
  json View() { return sim::BuildShopView(input_); }
  static json Packet(int32_t id, int32_t category, int32_t price, double discount = 0) {
    return {{"Id", id}, {"CategoryId", category}, {"Price", price}, {"Discount", discount}, {"PacketName", "P"}};
  }
  sim::ShopViewInput input_{{}, {}, {}, 1'000'000, 86400};
};

TEST_F(ShopViewBuilder, PointsAreTheLastOpeningPlusTheChangesReportedAfterIt) {
  Event("a_updatepoints", 40);
  EXPECT_TRUE(View()["points"].is_null()) << "a change alone does not tell the balance";
  Event("a_openshop", {{"Points", 500}, {"PassivePoints", 25}, {"Categories", json::array()}});
  Event("a_updatepoints", -68);
  Event("a_updatepoints", 10);
  EXPECT_EQ(View()["points"], 442);
  Event("a_openshop", {{"Points", 700}});
  EXPECT_EQ(View()["points"], 700);
  EXPECT_EQ(sim::DiscountedPrice(120, 2, 0.25), 180);
  EXPECT_EQ(sim::DiscountedPrice(75, 1, 0.1), 68) << "67.5 rounds up";
  EXPECT_EQ(sim::DiscountedPrice(75, 1, static_cast<double>(0.1f)), 67) << "the plugin's float fraction, as it charges";
}

TEST_F(ShopViewBuilder, ACategoryShowsOnlyItsPacketsFromTheAnswerToItsLastRequest) {
  Event("a_openshop", {{"Points", 0},
                       {"Categories", {{{"Name", "Kits"}, {"Id", 1}}, {{"Name", "Dinos"}, {"Id", 2}}}},
                       {"PlayerCooldowns", {{{"PacketId", 7}, {"LastUse", 1'000'000 - 100}}}},
                       {"ServerCooldowns", {{{"PacketId", 8}, {"LastUse", 1'000'000 - 5000}}}}});
  Ask(TandorShopMod::MsgCategory, 1);
  Event("a_cat", {Packet(9, 1, 10)});  // an old answer
  Ask(TandorShopMod::MsgCategory, 1);
  Ask(TandorShopMod::MsgCategory, 2);
  EXPECT_EQ(View()["packets"]["1"], json::array()) << "asked, nothing arrived yet";
  json cooled = Packet(7, 1, 75, 0.1);
  cooled["PlayerCooldown"] = 3600;
  json serverCooled = Packet(8, 1, 50);
  serverCooled["ServerCooldown"] = 3600;
  json later = Packet(6, 2, 5);
  later["EarliestAvailableAtServerTime"] = 86400.0 + 7200;
  Event("a_cat", {cooled, later, serverCooled});
  Event("a_cat", {Packet(7, 1, 80, 0.1)});

  const json view = View();
  ASSERT_EQ(view["packets"]["1"].size(), 2u) << view["packets"];
  const json& kit = view["packets"]["1"][0];
  EXPECT_EQ(kit["Price"], 80) << "the later copy of a packet replaces the earlier";
  EXPECT_EQ(kit["UnitPrice"], 72);
  EXPECT_EQ(view["packets"]["1"][1]["ServerCooldownLeft"], 0) << "expired";
  EXPECT_EQ(view["packets"]["2"][0]["AvailableIn"], 7200);
  EXPECT_FALSE(view["packets"].contains("3"));

  input_.Events[input_.Events.size() - 1]["data"][0]["PlayerCooldown"] = 3600;
  EXPECT_EQ(View()["packets"]["1"][0]["PlayerCooldownLeft"], 3500);
}

TEST_F(ShopViewBuilder, ListsAreNullUntilAskedAndShowOnlyTheNewestAnswer) {
  EXPECT_TRUE(View()["sell"].is_null());
  EXPECT_TRUE(View()["tradeLog"].is_null());
  Ask(TandorShopMod::MsgSellList);
  EXPECT_EQ(View()["sell"], json::array()) << "an empty answer sends nothing";
  Event("a_init_sell", {{{"Name", "Stone"}}, {{"Name", "Fiber"}}});
  Event("a_init_sell", {{{"Name", "Pearl"}}});
  EXPECT_EQ(View()["sell"].size(), 3u) << "batches of one answer join";
  Ask(TandorShopMod::MsgSellList);
  Event("a_init_sell", {{{"Name", "Stone"}}});
  EXPECT_EQ(View()["sell"], json({{{"Name", "Stone"}}}));
  Ask(TandorShopMod::MsgShopLog);
  Event("a_init_log_buy", {{{"Packet", "Kit"}}});
  EXPECT_EQ(View()["shopLog"][0]["Packet"], "Kit");
  EXPECT_TRUE(View()["tradeTargets"].is_null());
}

TEST_F(ShopViewBuilder, ARedeemUpdateCountsDownTheHeldPacketThatWasAskedFor) {
  const json pick = {{"Variants", {{{"Name", "Stone Pick"}}}}};
  const json metal = {{"Variants", {{{"Name", "Metal Pick"}}}}};
  auto held = [](const json& item, int32_t amount, int32_t rewardId = -1) {
    return json{{"PacketName", "Kit"}, {"Id", 3},          {"RewardId", rewardId}, {"AllVariants", 0},
                {"Amount", amount},    {"Items", {item}}, {"Dinos", json::array()}, {"Commands", json::array()}};
  };
  Ask(TandorShopMod::MsgRedeemList);
  Event("a_init_redeem", {held(pick, 2), held(metal, 3), held(pick, 1, 4)});
  const json listed = View()["held"];
  EXPECT_EQ(listed[1]["RedeemName"], "Kit");
  EXPECT_EQ(listed[1]["RedeemSelection"], ";Metal Pick;;");
  EXPECT_EQ(listed[2]["RedeemSelection"], "") << "a reward is named by its id";

  Ask(TandorShopMod::MsgRedeem, -1, "Kit,2;Metal Pick;;");
  Event("a_update_redeem", {{"RedeemsLeft", 1}, {"PacketId", 3}, {"RewardId", -1}});
  Ask(TandorShopMod::MsgRedeem, 4, "Kit,1");
  Event("a_update_redeem", {{"RedeemsLeft", 0}, {"PacketId", 3}, {"RewardId", 4}});
  const json after = View()["held"];
  ASSERT_EQ(after.size(), 2u) << after;
  EXPECT_EQ(after[0]["Amount"], 2);
  EXPECT_EQ(after[1]["Amount"], 1);
  EXPECT_EQ(after[1]["RedeemSelection"], ";Metal Pick;;");
}

}  // namespace
