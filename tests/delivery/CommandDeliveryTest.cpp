// Console commands run as the buying player, with their placeholders and the
// administrator right for the call only.
#include "DeliveryFixture.h"
#include "delivery/CommandText.h"
#include "delivery/DeliveryHelper.h"

namespace deliverytest {
namespace {

using DeliveryHelper::DeliverCommandVariant;
using nlohmann::json;

json Command(const std::string& text, bool asAdmin = false) {
  return {{"Name", "C"}, {"Command", text}, {"PriceIncrease", 25}, {"AsAdmin", asAdmin}};
}

class CommandDelivery : public DeliveryTest {
 protected:
  void ReadCommands(const json& variants) { ReadShop({{"Commands", {{{"Variants", variants}}}}}); }
  bool Deliver(int index, int32_t& price) {
    const auto& command = Packet().Commands[0];
    return DeliverCommandVariant(Controller(), price, &command, &command.Variants[index]);
  }
  const std::vector<sim::IssuedCommand>& Issued() { return Model().Console.Issued(); }
};

TEST_F(CommandDelivery, PlaceholdersTakeOnlyThePlayersIdsNeverNames) {
  player->Controller->CharacterName = FString("Bob {eos_id}; DestroyAll");
  player->State->TribeName = FString("Tribe | KillPlayer");
  ReadCommands({Command("GiveItem {eos_id} {eosid} {playerid} {tribeid}"), Command("Broadcast hello")});
  int32_t price = 0;
  ASSERT_TRUE(Deliver(0, price));
  ASSERT_TRUE(Deliver(1, price));
  EXPECT_EQ(price, 50);
  ASSERT_EQ(Issued().size(), 2u);
  EXPECT_EQ(Issued()[0].Text, "GiveItem EOS-Player-1 EOS-Player-1 987654321012 1234567");
  EXPECT_EQ(Issued()[1].Text, "Broadcast hello");
  for (const auto& issued : Issued()) {
    EXPECT_TRUE(issued.WriteToLog);
    EXPECT_FALSE(issued.AdminAtCall);
    EXPECT_EQ(issued.Text.find("DestroyAll"), std::string::npos);
    EXPECT_EQ(issued.Text.find("KillPlayer"), std::string::npos);
  }
}

TEST_F(CommandDelivery, AdminRightsLastForTheCallOnlyAndAnAdminStaysOne) {
  ReadCommands({Command("SetTimeOfDay 12:00", true), Command("bad {name}", true)});
  int32_t price = 0;
  ASSERT_TRUE(Deliver(0, price));
  EXPECT_TRUE(Issued().back().AdminAtCall);
  EXPECT_FALSE(player->AsController()->IsAdmin());

  EXPECT_FALSE(Deliver(1, price)) << "an unknown placeholder cannot be formatted";
  EXPECT_EQ(Issued().size(), 1u) << "and is not issued";
  EXPECT_FALSE(player->AsController()->IsAdmin()) << "the right goes on that path too";
  EXPECT_EQ(price, 25);

  player->Controller->Flags |= 1u;
  ASSERT_TRUE(Deliver(0, price));
  EXPECT_TRUE(Issued().back().AdminAtCall);
  EXPECT_TRUE(player->AsController()->IsAdmin());
}

TEST_F(CommandDelivery, ARejectedCommandIsStillChargedAndNoPlayerMeansNoCommand) {
  Model().Console.Reject("DoSomething");
  ReadCommands(json::array({Command("DoSomething now")}));
  int32_t price = 0;
  EXPECT_TRUE(Deliver(0, price));
  EXPECT_EQ(price, 25);
  ASSERT_EQ(Issued().size(), 1u);
  EXPECT_FALSE(Issued()[0].Accepted);

  const auto& command = Packet().Commands[0];
  EXPECT_FALSE(DeliverCommandVariant(nullptr, price, &command, &command.Variants[0]));
  EXPECT_FALSE(DeliverCommandVariant(Controller(), price, nullptr, &command.Variants[0]));
  EXPECT_FALSE(DeliverCommandVariant(Controller(), price, &command, nullptr));
  EXPECT_EQ(Issued().size(), 1u);
  EXPECT_EQ(price, 25);
}

TEST(CommandText, UnbalancedOrUnknownBracesDoNotFormat) {
  EXPECT_FALSE(DeliveryHelper::FormatCommandText("give {eos_id", 1, 2, "e"));
  EXPECT_FALSE(DeliveryHelper::FormatCommandText("give }", 1, 2, "e"));
  EXPECT_EQ(DeliveryHelper::FormatCommandText("{{literal}} {tribeid}", -5, 2, "e"), "{literal} -5");
  EXPECT_EQ(DeliveryHelper::FormatCommandText("{eos_id}", 0, 0, "{playerid}"), "{playerid}")
      << "an id text is not read as a template";
}

}  // namespace
}  // namespace deliverytest
