// Connections over a list of database nodes, on the plain test server: what a
// node says about itself, what the process remembers, a first node that
// refuses, and a plain server that is asked once and then treated as before.
#include <gtest/gtest.h>

#include <string>

#include "DbTestSupport.h"
#include "config/HostList.h"
#include "db/DBConnection.h"
#include "db/NodeDirectory.h"
#include "db/NodeStatus.h"

namespace {

using DBHelper::NodeState;
using dbtest::LogCapture;

using Variables = std::vector<std::pair<std::string, std::string>>;

Variables Galera(const std::string& ready, const std::string& component, const std::string& state) {
  return {{"wsrep_provider_name", "Galera"}, {"wsrep_ready", ready},  {"wsrep_connected", "ON"},
          {"wsrep_cluster_status", component}, {"wsrep_local_state_comment", state}};
}

TEST(NodeStatus, OnlyASyncedNodeOfThePrimaryComponentIsReady) {
  EXPECT_EQ(DBHelper::ReadNodeStatus({}).state, NodeState::Plain) << "MySQL: no wsrep variables";
  EXPECT_EQ(DBHelper::ReadNodeStatus({{"wsrep_provider_name", ""}, {"wsrep_ready", "OFF"},
                                      {"wsrep_cluster_status", "Disconnected"}})
                .state,
            NodeState::Plain)
      << "MariaDB built with wsrep but running without a provider";
  EXPECT_EQ(DBHelper::ReadNodeStatus(Galera("ON", "Primary", "Synced")).state, NodeState::Synced);
  EXPECT_EQ(DBHelper::ReadNodeStatus(Galera("ON", "Primary", "Donor/Desynced")).state, NodeState::Desynced);
  EXPECT_EQ(DBHelper::ReadNodeStatus(Galera("OFF", "Primary", "Joining")).state, NodeState::NotReady);
  const auto outside = DBHelper::ReadNodeStatus(Galera("ON", "non-Primary", "Synced"));
  EXPECT_EQ(outside.state, NodeState::NotReady);
  EXPECT_NE(outside.detail.find("wsrep_cluster_status=non-Primary"), std::string::npos) << outside.detail;
  Variables disconnected = Galera("ON", "Primary", "Synced");
  disconnected[2].second = "OFF";
  EXPECT_EQ(DBHelper::ReadNodeStatus(disconnected).state, NodeState::NotReady);
}

TEST(NodeDirectory, AFailedNodeIsTriedLastForAWhileAndForgottenWithTheSettings) {
  DBHelper::NodeDirectory nodes;
  const auto t0 = DBHelper::NodeDirectory::Clock::now();
  nodes.NoteKind("a:1", 1, DBHelper::NodeKind::Plain);
  EXPECT_TRUE(nodes.NoteFailed("a:1", 1, t0)) << "the first failure is news";
  EXPECT_FALSE(nodes.NoteFailed("a:1", 1, t0)) << "the second is not";
  EXPECT_EQ(nodes.Kind("a:1", 1), DBHelper::NodeKind::Unknown) << "a node that comes back is asked again";
  EXPECT_TRUE(nodes.Avoided("a:1", 1, t0 + std::chrono::seconds(1)));
  EXPECT_FALSE(nodes.Avoided("a:1", 1, t0 + DBHelper::NodeDirectory::kRecheckAfter));
  EXPECT_FALSE(nodes.Avoided("b:1", 1, t0));
  EXPECT_TRUE(nodes.NoteUsable("a:1", 1)) << "back";
  EXPECT_FALSE(nodes.NoteUsable("a:1", 1));
  nodes.NoteFailed("a:1", 1, t0);
  EXPECT_FALSE(nodes.Avoided("a:1", 2, t0)) << "new settings, nothing known";
}

class NodeList : public ::testing::Test {
 protected:
  DBHelper::DBSettings ListOf(const std::string& server) {
    DBHelper::DBSettings settings = DBHelper::Settings();
    settings.server = server;
    settings.port = db_.Port;
    settings.username = db_.User;
    settings.password = db_.Password;
    settings.database = db_.Database;
    settings.generation = ++generation_;  // nothing remembered from another test
    return settings;
  }
  // The first node of the test database (one server, or the cluster's first node).
  std::string Server() const { return ConfigHelper::ParseHostList(db_.Host, db_.Port).endpoints.at(0).Label(); }

  testsupport::DatabaseSettings db_ = testsupport::DatabaseFromEnvironment();
  static inline uint64_t generation_ = 1000;
};

TEST_F(NodeList, AFirstNodeThatRefusesIsPassedAndTriedLastForAWhile) {
  LogCapture log;
  const std::string refusing = "127.0.0.1:" + std::to_string(dbtest::ClosedPort());
  const auto settings = ListOf(refusing + "," + Server());
  for (int operation = 0; operation < 3; ++operation) {
    DBHelper::DBConnection db(settings);
    ASSERT_TRUE(db.IsOpen());
    EXPECT_EQ(db.Connection().placement().rank, 1u);
    EXPECT_EQ(db.Connection().query("SELECT 1")[0].text(0), "1");
  }
  EXPECT_EQ(log.Count("Database node " + refusing + " skipped"), 1u) << "one line, not one per operation";
  EXPECT_EQ(log.Count("Failed to open connection!"), 0u);
}

TEST_F(NodeList, NoUsableNodeFailsTheOperationAsOneServerDoes) {
  LogCapture log;
  const auto settings =
      ListOf("127.0.0.1:" + std::to_string(dbtest::ClosedPort()) + ",127.0.0.1:" + std::to_string(dbtest::ClosedPort()));
  DBHelper::DBConnection db(settings);
  EXPECT_FALSE(db.HasHandle());
  EXPECT_EQ(log.Count("Failed to open connection!"), 1u);
  EXPECT_EQ(log.Count("skipped"), 2u);
}

// On a cluster (scripts/cluster env), the same connection is a Galera session
// with causal reads.
TEST_F(NodeList, APlainServerIsAskedOnceAndItsSessionIsLeftAsItWas) {
  const auto settings = ListOf(Server());
  for (int operation = 0; operation < 2; ++operation) {
    DBHelper::DBConnection db(settings);
    ASSERT_TRUE(db.IsOpen());
    EXPECT_EQ(db.Connection().placement().rank, 0u);
    const bool galera = db.Connection().placement().galera;
    EXPECT_EQ(db.Connection().query("SELECT @@session.wsrep_sync_wait")[0].text(0), galera ? "1" : "0");
    EXPECT_EQ(DBHelper::Nodes().Kind(Server(), settings.generation),
              galera ? DBHelper::NodeKind::Galera : DBHelper::NodeKind::Plain)
        << "a plain server is not asked again";
  }
}

}  // namespace
