// A transaction on one node that another node's write aborts between two of its
// statements: nothing of it is kept, and the operation is told so (1213) and may
// run again. The server runs what is left of a multi-statement text outside the
// aborted transaction and answers OK, so on Galera every statement goes alone.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ClusterNodes.h"
#include "DbTestSupport.h"
#include "db/DBConnection.h"
#include "db/QueryFrame.h"
#include "db/Transaction.h"

namespace {

using clustertest::ClusterNodes;
using clustertest::Node;

class Conflicts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ClusterNodes::Start(); }

  void SetUp() override {
    prefix_ = testsupport::UniquePrefix("conflict");
    Sql(1).Exec("CREATE TABLE `" + prefix_ + "_points` (id INT PRIMARY KEY, points BIGINT NOT NULL)");
    Sql(1).Exec("CREATE TABLE `" + prefix_ + "_ops` (opId CHAR(8) PRIMARY KEY)");
    Sql(1).Exec("INSERT INTO `" + prefix_ + "_points` VALUES (1, 0)");
  }
  void TearDown() override {
    Sql(1).Exec("DROP TABLE IF EXISTS `" + prefix_ + "_points`");
    Sql(1).Exec("DROP TABLE IF EXISTS `" + prefix_ + "_ops`");
  }

  static dbtest::RawSql Sql(int node) { return dbtest::RawSql(Node(node), Node(node).Database); }
  // Read once the node applied every write the cluster committed before.
  int64_t Read(int node, const std::string& statement) {
    dbtest::RawSql sql(Node(node), Node(node).Database);
    sql.Exec("SET SESSION wsrep_sync_wait=1");
    return sql.Number(statement);
  }
  int64_t Points(int node) { return Read(node, "SELECT points FROM `" + prefix_ + "_points` WHERE id=1"); }
  int64_t Ops(int node) { return Read(node, "SELECT COUNT(*) FROM `" + prefix_ + "_ops`"); }

  std::string prefix_;
};

TEST_F(Conflicts, ATransactionAnotherNodesWriteAbortsBetweenItsStatementsKeepsNothingAndSaysSo) {
  // The credit on node 2 pauses between its statements; node 1's write of the same
  // row lands in the pause and aborts it there.
  const auto settings = ClusterNodes::Settings("127.0.0.1:" + std::to_string(ClusterNodes::Port(2)));
  DBHelper::DBConnection db(settings);
  ASSERT_TRUE(db.IsOpen());
  ASSERT_TRUE(db.Connection().placement().galera);
  DBHelper::CommitOutcome outcome = DBHelper::CommitOutcome::Committed;
  unsigned int error = 0;
  std::thread credit([&] {
    try {
      DBHelper::Transaction transaction(db);
      db.Later("credit", "UPDATE `" + prefix_ + "_points` SET points=points+10 WHERE id=1");
      db.Later("pause", "DO SLEEP(3)");
      db.Later("operation", "INSERT INTO `" + prefix_ + "_ops` VALUES ('credit')");
      outcome = DBHelper::CommitOperationOutcome(transaction, "DBHelper::credit");
    } catch (const mysql::mysql_exception& e) {
      outcome = DBHelper::CommitOutcome::NotCommitted;
      error = e.error_number();
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  Sql(1).Exec("UPDATE `" + prefix_ + "_points` SET points=points+5 WHERE id=1");
  credit.join();
  db.Finish();
  EXPECT_EQ(outcome, DBHelper::CommitOutcome::NotCommitted);
  if (error != 0) {
    EXPECT_EQ(error, 1213u) << "a certification conflict, which the operation runs again for";
  }
  for (int node = 1; node <= 3; ++node) {
    EXPECT_EQ(Points(node), 5) << "node " << node << ": only the other node's write";
    EXPECT_EQ(Ops(node), 0) << "node " << node << ": no statement of the credit ran on its own";
  }
}

}  // namespace
