// The "server" setting as one host or a list of database nodes, read by the
// reader and named by the checker.
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "config/ConfigLint.h"
#include "config/HostList.h"
#include "config/MysqlConfig.h"
#include "config/ReadReport.h"

namespace {

using ConfigHelper::DatabaseEndpoint;
using ConfigHelper::ParseHostList;
using ConfigHelper::ProblemKind;

std::vector<DatabaseEndpoint> Nodes(const std::string& server) {
  const auto list = ParseHostList(server, 3306);
  EXPECT_TRUE(list.Valid()) << server << ": " << list.error;
  return list.endpoints;
}

TEST(HostList, HostsWithoutAPortTakeThePortSettingAndKeepTheirOrder) {
  EXPECT_EQ(Nodes("db"), (std::vector<DatabaseEndpoint>{{"db", 3306}}));
  EXPECT_EQ(Nodes(""), (std::vector<DatabaseEndpoint>{{"", 3306}})) << "the client library's default host, as before";
  EXPECT_EQ(Nodes("h1:3307,h2"), (std::vector<DatabaseEndpoint>{{"h1", 3307}, {"h2", 3306}}));
  EXPECT_EQ(Nodes(" db3.example.net:13306 , 10.0.0.2 ,db_1"),
            (std::vector<DatabaseEndpoint>{{"db3.example.net", 13306}, {"10.0.0.2", 3306}, {"db_1", 3306}}));
  EXPECT_EQ(Nodes("[::1]:3310,::1,[fe80::2]"),
            (std::vector<DatabaseEndpoint>{{"::1", 3310}, {"::1", 3306}, {"fe80::2", 3306}}));
  EXPECT_EQ(Nodes("[::1]:3310")[0].Label(), "[::1]:3310");
  EXPECT_EQ(Nodes("h1")[0].Label(), "h1:3306");
}

TEST(HostList, GarbageIsRefusedWithTheReason) {
  for (const char* garbage : {"h1,,h2", "h1,", ",h1", "h1:", "h1:abc", "h1:0", "h1:65536", "h1:-5", "h 1",
                              "h1;drop", "h1:3306:3306", "[::1", "[::1]3306", "[db]:3306", "h1:3306 x"}) {
    const auto list = ParseHostList(garbage, 3306);
    EXPECT_FALSE(list.Valid()) << garbage;
    EXPECT_TRUE(list.endpoints.empty()) << garbage;
  }
  EXPECT_THAT(ParseHostList("h1:99999", 3306).error, ::testing::HasSubstr("\"99999\" is not a port"));
  EXPECT_THAT(ParseHostList("h1,,h2", 3306).error, ::testing::HasSubstr("empty entry"));
}

nlohmann::json MysqlFile(const std::string& server) {
  return {{"Mysql", {{"server", server}, {"port", 3306}, {"username", "u"}, {"password", "p"}, {"database", "d"},
                     {"tablePrefix", "t"}}}};
}

TEST(HostList, TheReaderRefusesAListItCannotFollowAndTheCheckerNamesTheNodes) {
  {
    ConfigHelper::ReadReport report;
    ConfigHelper::ReportScope scope(report);
    EXPECT_TRUE(ConfigHelper::ReadMysqlConfig(MysqlFile("h1:3306,h2")).valid);
    EXPECT_FALSE(report.HasErrors());
  }
  {
    ConfigHelper::ReadReport report;
    ConfigHelper::ReportScope scope(report);
    EXPECT_FALSE(ConfigHelper::ReadMysqlConfig(MysqlFile("h1:3306,,h2")).valid);
    ASSERT_EQ(report.Problems.size(), 1u);
    EXPECT_EQ(report.Problems[0].Entry, "Mysql");
    EXPECT_THAT(report.Problems[0].Text, ::testing::HasSubstr("not a host or a list of hosts"));
  }
  const auto problems = ConfigHelper::LintConfiguration(MysqlFile("h1:3306,h2,h1"));
  std::vector<std::string> lines;
  for (const auto& problem : problems)
    lines.push_back((problem.Kind == ProblemKind::Warning ? "warning " : "note ") + problem.Text);
  EXPECT_THAT(lines, ::testing::UnorderedElementsAre("warning \"server\" names the node h1:3306 twice",
                                                     ::testing::StartsWith("note 3 database nodes")));
  EXPECT_TRUE(ConfigHelper::LintConfiguration(MysqlFile("db")).empty()) << "one server: nothing to say";
}

}  // namespace
