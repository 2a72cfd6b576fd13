// The faulty link between the plugin's MySQL client and the server, and what the
// client makes of each fault: a lost COMMIT answer, a cut, a stall, a slow link.
#include <gtest/gtest.h>

#include <chrono>

#include "LinkFixture.h"
#include "db/MysqlErrors.h"

namespace {

using dbtest::LinkFixture;
using namespace std::chrono_literals;

using FaultyLinkTest = LinkFixture;

// The COMMIT reached the server and was applied; its answer never came back.
TEST_F(FaultyLinkTest, ALostCommitAnswerIsAnUnknownOutcomeThatTheServerKept) {
  auto connection = Connect();
  // A COMMIT sent alone, then one at the end of a text with waiting statements.
  connection->begin_transaction();
  connection->exec(Insert(1, 10));
  link_.DropAfterNextCommit();
  EXPECT_THROW(connection->commit(), mysql::commit_unknown);
  EXPECT_TRUE(connection->commit_outcome_unknown());
  EXPECT_EQ(Stored(1), 10) << "the server committed";

  connection = Connect();
  EXPECT_FALSE(connection->commit_outcome_unknown());
  connection->begin_transaction();
  connection->exec(Insert(2, 20));
  auto later = connection->exec_later("second insert", Insert(3, 30));
  link_.DropAfterNextCommit();
  try {
    connection->commit();
    ADD_FAILURE() << "the commit's answer was dropped";
  } catch (const mysql::commit_unknown& e) {
    EXPECT_TRUE(mysql::is_connection_lost(e.error_number())) << e.what();
  }
  EXPECT_EQ(Stored(2), 20);
  EXPECT_EQ(Stored(3), 30);
  EXPECT_EQ(link_.CommitsDropped(), 2u);
  EXPECT_EQ(link_.CommitsSeen(), 2u);

  // Only the next COMMIT was dropped: the following ones pass.
  connection = Connect();
  connection->begin_transaction();
  connection->exec(Insert(4, 40));
  connection->commit();
  connection->exec(Insert(5, 50));
  connection->exec("commit ;");
  EXPECT_EQ(Stored(4), 40);
  EXPECT_EQ(Stored(5), 50);
  EXPECT_EQ(link_.CommitsSeen(), 4u) << "a COMMIT in lower case is one too";
  EXPECT_EQ(link_.CommitsDropped(), 2u);
}

// A failure before the COMMIT went out keeps nothing and says so: not unknown.
TEST_F(FaultyLinkTest, AConnectionCutBeforeTheCommitKeepsNothing) {
  auto connection = Connect();
  connection->begin_transaction();
  connection->exec(Insert(1, 10));
  link_.CutAll();
  try {
    connection->exec(Insert(2, 20));
    ADD_FAILURE() << "the connection was cut";
  } catch (const mysql::commit_unknown&) {
    ADD_FAILURE() << "no COMMIT went out";
  } catch (const mysql::mysql_exception& e) {
    EXPECT_TRUE(mysql::is_connection_lost(e.error_number())) << e.what();
  }
  EXPECT_THROW(connection->commit(), mysql::mysql_exception);
  EXPECT_FALSE(connection->commit_outcome_unknown());
  EXPECT_EQ(Stored(1), -1);
  EXPECT_EQ(Stored(2), -1);
  EXPECT_EQ(link_.OpenConnections(), 0u);

  // The link still takes new connections.
  connection = Connect();
  EXPECT_EQ(connection->exec(Insert(3, 30)), 1u);
  EXPECT_EQ(Stored(3), 30);
}

TEST_F(FaultyLinkTest, CutAllEndsEveryConnectionAndTheNextStatementFails) {
  auto first = Connect();
  auto second = Connect();
  EXPECT_EQ(first->exec(Insert(1, 1)), 1u);
  EXPECT_EQ(second->exec(Insert(2, 2)), 1u);
  EXPECT_EQ(link_.OpenConnections(), 2u);
  link_.CutAll();
  EXPECT_EQ(link_.OpenConnections(), 0u);
  EXPECT_THROW(first->exec(Insert(3, 3)), mysql::mysql_exception);
  EXPECT_THROW(second->query("SELECT 1"), mysql::mysql_exception);
  EXPECT_FALSE(first->is_open());
  EXPECT_EQ(link_.ConnectionsAccepted(), 2u);
}

// A statement outside a transaction commits on its own: an answer that does not
// come in time leaves it unknown, and the link may still deliver it.
TEST_F(FaultyLinkTest, AStatementThroughAStalledLinkFailsAtTheReadTimeout) {
  auto connection = Connect(1);
  EXPECT_EQ(connection->exec(Insert(1, 10)), 1u);
  link_.Stall(60s);
  EXPECT_THROW(connection->exec(Insert(2, 20)), mysql::commit_unknown);
  EXPECT_TRUE(connection->commit_outcome_unknown());
  link_.Resume();
  EXPECT_TRUE(ArrivesEventually(2)) << "held by the link, the insert reached the server after the client gave up";

  // The timed-out session is over; reconnecting gives a clean one.
  EXPECT_FALSE(connection->is_open());
  connection = Connect(1);
  EXPECT_EQ(connection->exec(Insert(3, 30)), 1u);
  mysql::result rows = connection->query("SELECT v FROM `" + table_ + "` ORDER BY id");
  ASSERT_EQ(rows.row_count(), 3u);

  // Inside a transaction only the COMMIT makes the outcome unknown.
  connection->begin_transaction();
  link_.Stall(60s);
  EXPECT_THROW(
      {
        try {
          connection->exec(Insert(4, 40));
        } catch (const mysql::commit_unknown&) {
          ADD_FAILURE() << "no COMMIT went out";
        }
      },
      mysql::mysql_exception);
  connection->rollback();
  link_.Resume();
  EXPECT_FALSE(connection->commit_outcome_unknown());
}

// An automatically reconnecting connection whose answer timed out starts a new
// session for the next statement; the late answer of the old one is never read.
TEST_F(FaultyLinkTest, AfterATimeoutAReconnectingConnectionReadsOnlyItsOwnAnswers) {
  auto connection = Connect(1, true);
  link_.Stall(60s);
  EXPECT_THROW(connection->query("SELECT 111"), mysql::mysql_exception);
  link_.Resume();
  mysql::result rows = connection->query("SELECT 222");
  ASSERT_EQ(rows.row_count(), 1u);
  int64_t value = 0;
  rows[0].get(0, value);
  EXPECT_EQ(value, 222);
}

TEST_F(FaultyLinkTest, ADelayedLinkStillCarriesEverything) {
  link_.SetDelay(3ms);
  auto connection = Connect();
  connection->begin_transaction();
  for (int id = 1; id <= 5; ++id) connection->exec_later("insert", Insert(id, id * 10));
  connection->commit();
  mysql::result rows = connection->query("SELECT SUM(v) FROM `" + table_ + "`");
  int64_t sum = 0;
  rows[0].get(0, sum);
  EXPECT_EQ(sum, 150);
  link_.SetDelay(0us);
  EXPECT_EQ(connection->exec(Insert(6, 60)), 1u);
  EXPECT_EQ(link_.CommitsSeen(), 1u);
}

}  // namespace
