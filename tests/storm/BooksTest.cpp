// The storm's books against a crafted ledger: a checker that lets a lost update
// through would make every storm pass.
#include <gtest/gtest.h>

#include "Books.h"
#include "StormRoster.h"
#include "testsupport/Database.h"

namespace {

class Books : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto db = testsupport::DatabaseFromEnvironment();
    input_.Database = {db.Host, db.Port, db.User, db.Password, db.Database};
    input_.Prefix = testsupport::UniquePrefix("books");
    Exec("CREATE TABLE {}_player_points (eosId VARCHAR(47), points BIGINT)");
    Exec("CREATE TABLE {}_player_redeems (eosId VARCHAR(47), amount INT)");
    Exec("CREATE TABLE {}_shoplog (eosId VARCHAR(47), packet VARCHAR(255), timestamp BIGINT, serverid INT, amount INT, "
         "points_change BIGINT, newpoints BIGINT, isBuy BOOL, isRedeem BOOL, isSell BOOL)");
    Exec("CREATE TABLE {}_tradelog (eosid_from VARCHAR(47), eosid_to VARCHAR(47), timestamp BIGINT, serverid INT, "
         "amount BIGINT, points_after_from BIGINT, points_after_to BIGINT)");
    Exec("CREATE TABLE {}_operations (opId CHAR(32), eosId VARCHAR(47), kind VARCHAR(64))");
    Exec("CREATE TABLE {}_settlements (opId CHAR(32), state INT)");
    input_.Players = {{1, 1}, {2, 1}};
    // Player 0 of server 1 (10 points a reward) was told of two rewards and one grant of 30;
    // held: 3 at login, 2 redeemed and arrived, 1 left.
    input_.Summaries[1]["players"][ann_] = {{"passive", {{1000, 10}, {2000, 30}, {5000, 10}}}, {"crates", 2}};
    input_.Summaries[2]["players"][bob_] = {{"passive", nlohmann::json::array()}, {"crates", 0}};
    storm::Grant grant;
    grant.ServerId = 1, grant.EosId = ann_, grant.Amount = 30, grant.Accepted = true;
    grant.SentMillis = grant.RepliedMillis = 2000;
    input_.Grants.push_back(grant);
    Exec("INSERT INTO {}_shoplog VALUES ('" + ann_ + "','Wood Bundle,1;Wood;;',100,1,1,-15,0,1,0,0),('" + ann_ +
         "','WelcomeDrop,1',120,1,2,0,0,0,1,0)");
    Exec("INSERT INTO {}_tradelog VALUES ('" + ann_ + "','" + bob_ + "',130,1,5,30,5)");
    Exec("INSERT INTO {}_player_redeems VALUES ('" + ann_ + "',1),('" + bob_ + "',3)");
    Reward(ann_, "a"), Reward(ann_, "b");
    SetPoints(ann_, 30);  // 10 + 30 + 10 - 15 - 5
    SetPoints(bob_, 5);
  }
  void TearDown() override { testsupport::DropTablesWithPrefix(input_.Prefix); }

  void Exec(std::string statement) {
    for (std::size_t at; (at = statement.find("{}")) != std::string::npos;) statement.replace(at, 2, input_.Prefix);
    storm::Query(input_.Database, statement);
  }
  // A passive reward that committed, as its operation id shows.
  void Reward(const std::string& eosId, const std::string& opId) {
    Exec("INSERT INTO {}_operations VALUES ('" + opId + "','" + eosId + "','PassiveReward')");
  }
  void SetPoints(const std::string& eosId, int64_t points) {
    Exec("DELETE FROM {}_player_points WHERE eosId='" + eosId + "'");
    Exec("INSERT INTO {}_player_points VALUES ('" + eosId + "'," + std::to_string(points) + ")");
  }

  const std::string ann_ = storm::EosIdOf(1, 0);
  const std::string bob_ = storm::EosIdOf(2, 0);
  storm::BooksInput input_;
};

TEST_F(Books, ALedgerThatAddsUpClosesExactly) {
  const storm::BooksResult result = storm::CloseBooks(input_);
  EXPECT_TRUE(result.Closed()) << (result.Differences.empty() ? "" : result.Differences[0]);
  EXPECT_EQ(result.PlayersExact, 2);
  EXPECT_EQ(result.Operations.at(1).at("trade, to the other server"), 1);
}

// No kill excuses anything: a single point or unit unaccounted for fails the books.
TEST_F(Books, OnePointOrOneUnitUnaccountedForFailsTheBooksWhateverFailed) {
  SetPoints(ann_, 29);
  storm::BooksResult result = storm::CloseBooks(input_);
  EXPECT_FALSE(result.Closed()) << "a point short";
  ASSERT_EQ(result.Differences.size(), 1u);
  EXPECT_NE(result.Differences[0].find("points off by -1"), std::string::npos) << result.Differences[0];
  SetPoints(ann_, 31);
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "a point too many";
  SetPoints(ann_, 30);
  Exec("UPDATE {}_player_redeems SET amount=0 WHERE eosId='" + ann_ + "'");
  result = storm::CloseBooks(input_);
  EXPECT_FALSE(result.Closed()) << "a held unit lost";
  EXPECT_NE(result.Differences[0].find("held units off by -1"), std::string::npos) << result.Differences[0];
}

// A grant the server refused changed nothing and is not counted; one without an
// answer leaves the books open, since nobody knows what it did.
TEST_F(Books, RefusedGrantsCountForNothingAndUnansweredOnesAreDifferences) {
  storm::Grant refused;
  refused.ServerId = 1, refused.EosId = ann_, refused.Amount = 40;
  refused.Refused = true, refused.Reply = storm::GrantRefusedReply;
  input_.Grants.push_back(refused);
  EXPECT_TRUE(storm::CloseBooks(input_).Closed());
  storm::Grant unanswered = refused;
  unanswered.Refused = false, unanswered.Reply = "";
  input_.Grants.push_back(unanswered);
  EXPECT_FALSE(storm::CloseBooks(input_).Closed());
}

// A grant whose commit answer was lost with the database, and which the server
// said it could not look up, may have been kept or not: either balance is exact,
// any other is not.
TEST_F(Books, AGrantOfUnknownOutcomeMayHaveBeenKeptOrNotButNothingElse) {
  storm::Grant unknown;
  unknown.ServerId = 1, unknown.EosId = ann_, unknown.Amount = 40;
  unknown.Unknown = true, unknown.Reply = storm::GrantUnknownReply;
  input_.Grants.push_back(unknown);
  EXPECT_TRUE(storm::CloseBooks(input_).Closed()) << "not kept";
  SetPoints(ann_, 70);
  const storm::BooksResult kept = storm::CloseBooks(input_);
  EXPECT_TRUE(kept.Closed()) << "kept";
  EXPECT_EQ(kept.UnknownGrantsKept, 1);
  SetPoints(ann_, 50);
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "half of it";
}

TEST_F(Books, HeldUnitsRedeemedTwiceOrNotArrivedAreDifferences) {
  Exec("UPDATE {}_player_redeems SET amount=2");
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "one unit more than was granted";
  Exec("UPDATE {}_player_redeems SET amount=1");
  input_.Summaries[1]["players"][ann_]["crates"] = 1;
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "a logged unit that did not arrive";
}

TEST_F(Books, BalancesBelowZeroAndBrokenCooldownsAreCaught) {
  Exec("UPDATE {}_tradelog SET points_after_from=-5");
  EXPECT_EQ(storm::CloseBooks(input_).NegativeBalances, 1);
  Exec("UPDATE {}_tradelog SET points_after_from=0");
  Exec("INSERT INTO {}_shoplog VALUES ('" + bob_ + "','Sunrise,1;;;Morning',100,2,1,0,5,1,0,0),('" + bob_ +
       "','Sunrise,1;;;Morning',200,2,1,0,5,1,0,0)");
  const storm::BooksResult result = storm::CloseBooks(input_);
  ASSERT_EQ(result.Differences.size(), 1u);
  EXPECT_NE(result.Differences[0].find("server cooldown Sunrise broken"), std::string::npos);
}

// A server cooldown is held when the game thread checks the purchase, its log row stamped when a
// worker runs it: after a stall (the database or a node down) that is the stall's length later.
// The stall excuses no more than itself.
TEST_F(Books, AServerCooldownAllowsForTheStallItsFirstPurchaseWaitedThrough) {
  auto row = [&](int64_t at, const std::string& packet) {
    Exec("INSERT INTO {}_shoplog VALUES ('" + bob_ + "','" + packet + "'," + std::to_string(at) + ",2,1,0,5,1,0,0)");
  };
  for (int64_t at = 500; at <= 780; at += 20) row(at, "Wood Bundle,1");  // busy, then 220 s of silence
  row(1000, "Sunrise,1;;;Morning");
  row(1010, "Sunrise,1;;;Morning");  // both checked in the silence, 180 s apart at least
  EXPECT_TRUE(storm::CloseBooks(input_).Closed()) << storm::CloseBooks(input_).Differences.at(0);
  row(1050, "Sunrise,1;;;Morning");  // 40 s after one logged without a stall before it
  const storm::BooksResult result = storm::CloseBooks(input_);
  ASSERT_EQ(result.Differences.size(), 1u);
  EXPECT_NE(result.Differences[0].find("bought 40 s apart"), std::string::npos) << result.Differences[0];
}

// A game server killed with kill -9 may cut off the message of a reward that
// committed, and a start may give back units that arrived before the kill: each
// only with a kill of that player's server, and no more than it can explain.
TEST_F(Books, AKillAccountsOnlyForWhatItCanHaveCutOff) {
  Reward(ann_, "c");
  SetPoints(ann_, 40);  // the third reward committed; its message did not reach the journal
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "without a kill a reward nobody was told of is a difference";
  input_.ServerKills = {{2, 1}};
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "a kill of the other server explains nothing";
  input_.ServerKills = {{1, 1}};
  storm::BooksResult result = storm::CloseBooks(input_);
  EXPECT_TRUE(result.Closed()) << (result.Differences.empty() ? "" : result.Differences[0]);
  EXPECT_EQ(result.NotToldBeforeKill, 1);
  Reward(ann_, "d");
  SetPoints(ann_, 50);
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "two untold rewards, one kill";
  input_.ServerKills = {{1, 2}};
  EXPECT_TRUE(storm::CloseBooks(input_).Closed());

  // Three crates arrived for two units in the log: the start gave one back.
  input_.Summaries[1]["players"][ann_]["crates"] = 3;
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "a unit arrived and was given back without any account";
  input_.Summaries[1]["heldGivenBackAtStart"][ann_] = 1;
  result = storm::CloseBooks(input_);
  EXPECT_TRUE(result.Closed()) << (result.Differences.empty() ? "" : result.Differences[0]);
  EXPECT_EQ(result.ArrivedThenGivenBack, 1);
  input_.Summaries[1]["players"][ann_]["crates"] = 4;
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "more arrived than the start gave back";
  input_.Summaries[1]["players"][ann_]["crates"] = 1;
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "a redeemed unit that never arrived is never excused";
  input_.Summaries[1]["players"][ann_]["crates"] = 2;
  Exec("INSERT INTO {}_settlements VALUES ('e', 0)");
  EXPECT_FALSE(storm::CloseBooks(input_).Closed()) << "a charge or a redeem nobody settled";
}

}  // namespace
