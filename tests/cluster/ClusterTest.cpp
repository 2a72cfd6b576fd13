// The shop's connections on a Galera cluster of three nodes: one writer, the
// first ready node of the list; a killed writer, a desynced node, the way back.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "ClusterNodes.h"
#include "DbTestSupport.h"
#include "db/DBConnection.h"
#include "db/KeptConnection.h"

namespace {

using clustertest::ClusterNodes;
using clustertest::Node;

// Waits (up to a minute) until `done` holds; a rejoined node is given time.
bool Eventually(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  return false;
}

// The rank of the node the next operation with these settings works on; -1 when none.
int RankOfNextOperation(const DBHelper::DBSettings& settings) {
  DBHelper::DBConnection db(settings);
  if (!db.IsOpen()) return -1;
  const int rank = static_cast<int>(db.Connection().placement().rank);
  db.Finish();
  return rank;
}

class Cluster : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ClusterNodes::Start(); }

  void SetUp() override {
    table_ = testsupport::UniquePrefix("cluster") + "_rows";
    dbtest::RawSql(Node(1), Node(1).Database)
        .Exec("CREATE TABLE `" + table_ + "` (id INT PRIMARY KEY, node INT NOT NULL)");
  }
  void TearDown() override {
    ClusterNodes::Heal();
    dbtest::RawSql(Node(2), Node(2).Database).Exec("SET GLOBAL wsrep_desync=OFF");
    dbtest::RawSql(Node(1), Node(1).Database).Exec("SET GLOBAL wsrep_desync=OFF");
    dbtest::RawSql(Node(1), Node(1).Database).Exec("DROP TABLE IF EXISTS `" + table_ + "`");
  }

  // One row written through the shop's connection layer; the rank it went to.
  int Write(const DBHelper::DBSettings& settings, int id) {
    DBHelper::DBConnection db(settings);
    if (!db.IsOpen()) return -1;
    const int rank = static_cast<int>(db.Connection().placement().rank);
    db.Connection().exec("INSERT INTO `" + table_ + "` VALUES (" + std::to_string(id) + "," + std::to_string(rank) + ")");
    db.Finish();
    return rank;
  }

  int64_t RowsOn(int node) {
    return dbtest::RawSql(Node(node), Node(node).Database).Number("SELECT COUNT(*) FROM `" + table_ + "`");
  }

  std::string table_;
};

TEST_F(Cluster, AKilledWriterNodeIsPassedByTheNextOperationAndGetsItsConnectionsBack) {
  const auto settings = ClusterNodes::Settings(ClusterNodes::HostList());
  ASSERT_EQ(Write(settings, 1), 0) << "every connection goes to the first node";
  ASSERT_EQ(Write(settings, 2), 0);

  ClusterNodes::Kill(1);
  EXPECT_EQ(Write(settings, 3), 1) << "the next operation lands on node 2 and commits there";
  EXPECT_EQ(Write(settings, 4), 1);
  EXPECT_EQ(RowsOn(2), 4);
  EXPECT_EQ(RowsOn(3), 4);

  ClusterNodes::Restart(1);
  EXPECT_TRUE(Eventually([&] { return RankOfNextOperation(settings) == 0; }))
      << "connections come back to node 1 once it is synced";
  EXPECT_EQ(Write(settings, 5), 0);
  EXPECT_EQ(RowsOn(1), 5) << "node 1 received by incremental transfer what it missed";
}

TEST_F(Cluster, AKeptConnectionLeavesADeadNodeAndReturnsToTheFirstNode) {
  DBHelper::WorkerConnectionScope worker;  // this thread keeps its connection, as a worker does
  auto settings = ClusterNodes::Settings(ClusterNodes::HostList());
  settings.keepConnections = true;
  settings.backToFirstNodeSeconds = 1;
  ASSERT_EQ(Write(settings, 1), 0);
  const uint64_t opened = DBHelper::KeptConnectionOpens();
  ASSERT_EQ(Write(settings, 2), 0);
  EXPECT_EQ(DBHelper::KeptConnectionOpens(), opened) << "kept while its node is the first";

  ClusterNodes::Kill(1);
  EXPECT_EQ(Write(settings, 3), 1);
  ClusterNodes::Restart(1);
  EXPECT_TRUE(Eventually([&] { return RankOfNextOperation(settings) == 0; }))
      << "a kept connection on a later node is opened again on the first once that is ready";
  const uint64_t back = DBHelper::KeptConnectionOpens();
  EXPECT_EQ(Write(settings, 4), 0);
  EXPECT_EQ(DBHelper::KeptConnectionOpens(), back) << "and kept there";
}

TEST_F(Cluster, ANodeThatIsUpButNotSyncedIsPassedAndUsedOnlyAsALastResort) {
  dbtest::RawSql(Node(1), Node(1).Database).Exec("SET GLOBAL wsrep_desync=ON");
  ASSERT_TRUE(Eventually([&] {
    return dbtest::RawSql(Node(1), Node(1).Database)
               .Rows("SHOW GLOBAL STATUS LIKE 'wsrep_local_state_comment'")
               .at(0)
               .at(1) != "Synced";
  }));
  const auto settings = ClusterNodes::Settings(ClusterNodes::HostList());
  EXPECT_EQ(Write(settings, 1), 1) << "node 1 is desynced: node 2 takes the connection";

  const auto alone = ClusterNodes::Settings("127.0.0.1:" + std::to_string(ClusterNodes::Port(1)));
  EXPECT_EQ(Write(alone, 2), 0) << "with nothing better, a desynced node of the Primary component is used";

  dbtest::RawSql(Node(1), Node(1).Database).Exec("SET GLOBAL wsrep_desync=OFF");
  EXPECT_TRUE(Eventually([&] { return RankOfNextOperation(settings) == 0; }));
}

TEST_F(Cluster, SessionsWaitForCausalityAndTablesWithoutAKeyAreRefused) {
  const auto settings = ClusterNodes::Settings(ClusterNodes::HostList());
  DBHelper::DBConnection db(settings);
  ASSERT_TRUE(db.IsOpen());
  EXPECT_TRUE(db.Connection().placement().galera);
  EXPECT_EQ(db.Connection().query("SELECT @@session.wsrep_sync_wait")[0].text(0), "1");
  EXPECT_THROW(db.Connection().exec("CREATE TABLE `" + table_ + "_nokey` (a INT)"), mysql::mysql_exception)
      << "the cluster runs with wsrep_mode=REQUIRED_PRIMARY_KEY";
  db.Connection().exec("DROP TABLE IF EXISTS `" + table_ + "_nokey`");
}

}  // namespace
