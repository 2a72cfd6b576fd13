// What the report does with a database it cannot fully read and with wrong
// arguments: a clear line, a report of what could be read, never a crash.
#include <gtest/gtest.h>

#include "ReportRun.h"

namespace {

using nlohmann::json;
using reporttest::Economy;
using reporttest::RunJson;

bool NotesContain(json& report, const std::string& part) {
  for (const json& note : report["notes"])
    if (note.get<std::string>().find(part) != std::string::npos) return true;
  return false;
}

TEST(ReportBadInput, AMistypedPrefixNamesThePrefixesThatExistAndAnEmptyDatabaseGivesZeros) {
  Economy economy;
  const reporttest::RunResult wrong = RunJson(economy.Prefix() + "x");
  EXPECT_EQ(wrong.Status, 1) << wrong.Errors;
  json report = wrong.Json();
  EXPECT_TRUE(NotesContain(report, "no shop table with the prefix \"" + economy.Prefix() + "x\"")) << report["notes"];
  EXPECT_TRUE(NotesContain(report, "\"" + economy.Prefix() + "\"")) << report["notes"];
  EXPECT_NE(wrong.Errors.find("no shop table"), std::string::npos) << wrong.Errors;
  EXPECT_EQ(report["packets"]["bought"], json::array());
  EXPECT_EQ(report["circulation"]["total"], 0);

  // The plugin's tables, created and never used.
  const std::string empty = reporttest::UniquePrefix("repempty");
  for (const char* table :
       {"player_points", "player_chars", "player_redeems", "player_cooldowns", "tradelog", "shoplog", "schema"})
    economy.Sql().Exec("CREATE TABLE " + empty + "_" + table + " LIKE " + economy.Table(table));
  economy.Sql().Exec("INSERT INTO " + empty + "_schema SELECT * FROM " + economy.Table("schema"));
  const reporttest::RunResult none = RunJson(empty);
  EXPECT_EQ(none.Status, 0) << none.Errors;
  json zero = none.Json();
  EXPECT_EQ(zero["notes"], json::array());
  EXPECT_EQ(zero["flows"]["totals"]["purchases"], 0);
  EXPECT_EQ(zero["circulation"]["players"], 0);
  EXPECT_EQ(zero["held"]["units"], 0);
  EXPECT_FALSE(zero["players"].contains("percentiles"));
  EXPECT_EQ(zero["servers"], json::array());
  reporttest::DropTablesWithPrefix(economy.Sql(), empty);
}

TEST(ReportBadInput, ATableOfAnotherVersionIsLeftOutAndColumnsAddedAtTheEndAreRead) {
  Economy economy;
  json before = RunJson(economy.Prefix()).Json();
  // A later version's additions: a new column at the end of every table, and a table of its own.
  for (const char* table : {"player_points", "player_chars", "player_redeems", "player_cooldowns", "tradelog", "shoplog"})
    economy.Sql().Exec("ALTER TABLE " + economy.Table(table) + " ADD COLUMN origin INT NOT NULL DEFAULT 0");
  economy.Sql().Exec("CREATE TABLE " + economy.Table("schema_version") + " (version INT)");
  const reporttest::RunResult extended = RunJson(economy.Prefix());
  EXPECT_EQ(extended.Status, 0) << extended.Errors;
  json after = extended.Json();
  EXPECT_EQ(after["flows"]["totals"], before["flows"]["totals"]);
  EXPECT_EQ(after["players"]["unexplained"], before["players"]["unexplained"]);
  EXPECT_EQ(after["report"]["extraColumns"][economy.Table("shoplog")], 2) << "id and the new one";

  // A trade log whose columns were renamed: the trade figures are left out, the rest stays.
  economy.Sql().Exec("ALTER TABLE " + economy.Table("tradelog") + " CHANGE amount points BIGINT");
  const reporttest::RunResult other = RunJson(economy.Prefix());
  EXPECT_EQ(other.Status, 1) << other.Errors;
  json partial = other.Json();
  EXPECT_TRUE(NotesContain(partial, "table " + economy.Table("tradelog") + " is of another version")) << partial["notes"];
  EXPECT_EQ(partial["flows"]["totals"]["purchases"], before["flows"]["totals"]["purchases"]);
  EXPECT_EQ(partial["flows"]["totals"]["tradeVolume"], 0);
  EXPECT_EQ(partial["admin"]["latest"], json::array());
  EXPECT_EQ(partial["held"], before["held"]);
}

TEST(ReportBadInput, TablesOfVersionOneAreReadInFullAndANewerOrUnreadableVersionIsNamed) {
  Economy current;
  Economy older(1);
  json now = RunJson(current.Prefix()).Json();
  const reporttest::RunResult first = RunJson(older.Prefix());
  EXPECT_EQ(first.Status, 0) << first.Errors;
  json one = first.Json();
  EXPECT_EQ(one["report"]["schemaVersion"], 1);
  EXPECT_TRUE(NotesContain(one, "the tables are of version 1")) << one["notes"];
  // The same economy in the older form gives the same figures (the two were made a second or so apart).
  EXPECT_EQ(one["flows"]["totals"], now["flows"]["totals"]);
  EXPECT_EQ(one["circulation"]["total"], now["circulation"]["total"]);
  EXPECT_EQ(one["servers"], now["servers"]);
  EXPECT_EQ(one["players"]["topEarners"], now["players"]["topEarners"]);
  EXPECT_EQ(one["players"]["repeatedSales"], now["players"]["repeatedSales"]);
  EXPECT_EQ(one["packets"]["bought"].size(), now["packets"]["bought"].size());
  EXPECT_EQ(one["packets"]["bought"][0]["buyers"], now["packets"]["bought"][0]["buyers"]);
  EXPECT_EQ(one["admin"]["addPoints"], now["admin"]["addPoints"]);
  EXPECT_EQ(one["rows"], now["rows"]);
  EXPECT_EQ(now["report"]["schemaVersion"], 2);
  EXPECT_FALSE(NotesContain(now, "version")) << now["notes"];

  // A newer form: named, the figures that can be read are shown, and the run says it is short.
  current.Sql().Exec("UPDATE " + current.Table("schema") + " SET version=3 WHERE name='tables'");
  const reporttest::RunResult newer = RunJson(current.Prefix());
  EXPECT_EQ(newer.Status, 1) << newer.Errors;
  json three = newer.Json();
  EXPECT_TRUE(NotesContain(three, "the tables are of version 3, newer than this report knows (2)")) << three["notes"];
  EXPECT_NE(newer.Errors.find("version 3"), std::string::npos) << newer.Errors;
  EXPECT_EQ(three["flows"]["totals"], now["flows"]["totals"]);

  // A schema table of a shape this report does not know.
  current.Sql().Exec("ALTER TABLE " + current.Table("schema") + " CHANGE version form INT");
  const reporttest::RunResult unknown = RunJson(current.Prefix());
  json unread = unknown.Json();
  EXPECT_TRUE(NotesContain(unread, "could not be read")) << unread["notes"];
  EXPECT_EQ(unread["report"]["schemaVersion"], 0);
  EXPECT_EQ(unread["flows"]["totals"], now["flows"]["totals"]);
}

TEST(ReportBadInput, RowsWithValuesOutOfRangeAreCountedAndLeftOut) {
  Economy economy;
  json report = RunJson(economy.Prefix()).Json();
  json& rows = report["rows"]["shoplog"];
  // Written by the fixture: four in the period, a time of 0, one in the future and one without a time.
  EXPECT_EQ(rows["outOfRangeInPeriod"], 4);
  EXPECT_EQ(rows["outOfRange"], 7);
  EXPECT_TRUE(NotesContain(report, "7 rows of " + economy.Table("shoplog") + " hold values out of range"));
  // None of them reaches a figure: the Gacha buy that earned 10 and the sale that cost 10 are not counted.
  const int64_t spent = economy.Sql().Number("SELECT -SUM(points_change) FROM " + economy.Table("shoplog") +
                                             " WHERE isBuy AND NOT isSell AND points_change<=0 AND amount>=0 AND "
                                             "timestamp>UNIX_TIMESTAMP()-90*86400 AND timestamp<UNIX_TIMESTAMP()");
  EXPECT_EQ(report["flows"]["totals"]["purchases"], spent);
  // A held amount below zero is named and left out.
  economy.Sql().Exec("INSERT INTO " + economy.Table("player_redeems") +
                     " (eosId,packetStr,amount,lastChange) VALUES ('EOS0000003','Gacha;;;',-4,0)");
  json held = RunJson(economy.Prefix()).Json();
  EXPECT_EQ(held["held"]["negativeRows"], 1);
  EXPECT_EQ(held["held"]["units"], report["held"]["units"]);
  EXPECT_TRUE(NotesContain(held, "negative amount"));
}

TEST(ReportBadInput, HostListsUnreachableServersAndWrongArguments) {
  const reporttest::DatabaseSettings db = reporttest::DatabaseFromEnvironment();
  const std::string prefix = reporttest::UniquePrefix("rephosts");
  std::vector<std::string> flags = reporttest::ConnectionFlags(prefix);
  // The first host refuses; the second is the server.
  flags[1] = "127.0.0.1:1," + db.Host + ":" + std::to_string(db.Port);
  flags.insert(flags.end(), {"--format", "json"});
  const reporttest::RunResult second = reporttest::RunReport(flags);
  EXPECT_EQ(second.Status, 1) << second.Errors;  // connected; no tables under that prefix
  EXPECT_EQ(second.Json()["report"]["host"], db.Host + ":" + std::to_string(db.Port));

  flags[1] = "127.0.0.1:1";
  const reporttest::RunResult none = reporttest::RunReport(flags);
  EXPECT_EQ(none.Status, 2);
  EXPECT_NE(none.Errors.find("cannot connect to the database"), std::string::npos) << none.Errors;
  EXPECT_NE(none.Errors.find("127.0.0.1:1"), std::string::npos) << none.Errors;
  EXPECT_EQ(none.Output, "");

  const std::vector<std::vector<std::string>> wrong = {
      {"--since", "yesterday", "--database", "d"}, {"--format", "pdf", "--database", "d"},
      {"--table-prefix", "shop'; DROP TABLE x; --", "--database", "d"}, {"--server", "-1", "--database", "d"},
      {"--since", "1d", "--until", "2d", "--database", "d"}, {"--config", "/nonexistent/config.json"},
      {"--host", "db:99999", "--database", "d"}, {"--bogus"}, {"--port"}};
  for (const auto& arguments : wrong) {
    const reporttest::RunResult result = reporttest::RunReport(arguments);
    EXPECT_EQ(result.Status, 64) << arguments[0] << " " << result.Errors;
    EXPECT_EQ(result.Errors.rfind("tandorshop-report: ", 0), 0u) << result.Errors;
  }
  const reporttest::RunResult help = reporttest::RunReport({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Output.find("--since WHEN"), std::string::npos);
  const reporttest::RunResult version = reporttest::RunReport({"--version"});
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Output.rfind("tandorshop-report ", 0), 0u) << version.Output;
}

}  // namespace
