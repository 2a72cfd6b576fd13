// The report's figures against sums computed directly in SQL on the made-up
// economy, one test per section.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "ReportRun.h"

namespace {

using nlohmann::json;
using reporttest::Economy;
using reporttest::RunJson;

// The rows the report counts, written out here on their own.
constexpr const char* kShopOk =
    "timestamp>0 AND timestamp<=UNIX_TIMESTAMP()+86400 AND amount>=0 AND newpoints>=0 AND isBuy+isSell+isRedeem=1 "
    "AND NOT(isBuy AND points_change>0) AND NOT(isSell AND points_change<0) AND NOT(isRedeem AND points_change<>0)";
constexpr const char* kTradeOk =
    "timestamp>0 AND eosid_to<>'' AND (eosid_from LIKE 'admin %' OR (amount>0 AND points_after_from>=0 AND "
    "points_after_to>=0))";

class ReportFigures : public testing::Test {
 protected:
  Economy economy;
  int64_t N(const std::string& sql) { return economy.Sql().Number(sql); }
  std::string Shop(const std::string& where) {
    return " FROM " + economy.Table("shoplog") + " WHERE " + kShopOk + " AND " + where;
  }
  std::string Trade(const std::string& where) {
    return " FROM " + economy.Table("tradelog") + " WHERE " + kTradeOk + " AND " + where;
  }
  json Report(std::vector<std::string> more = {}) {
    const reporttest::RunResult run = RunJson(economy.Prefix(), std::move(more));
    EXPECT_EQ(run.Status, 0) << run.Errors;
    return run.Json();
  }
};

TEST_F(ReportFigures, CirculationIsTheBalancesTableAndTheLogsAccountForItUpToTheUnexplained) {
  json report = Report();
  json& c = report["circulation"];
  const std::string points = economy.Table("player_points");
  EXPECT_EQ(c["total"], N("SELECT SUM(points) FROM " + points));
  EXPECT_EQ(c["players"], N("SELECT COUNT(*) FROM " + points));
  EXPECT_EQ(c["playersHolding"], N("SELECT COUNT(*) FROM " + points + " WHERE points>0"));
  // The line ends where the logs leave the balances; the table adds what happened since.
  EXPECT_EQ(c["series"].back()["points"], c["fromLogs"]);
  EXPECT_EQ(c["fromLogs"].get<int64_t>() + c["unexplainedSinceLastRows"].get<int64_t>(), c["total"].get<int64_t>());
  EXPECT_EQ(c["playersNeverLogged"], 1) << "the player with points and no row";
  EXPECT_EQ(c["series"].size(), 91u) << "one point per day of the period";
  // Each listed player's unexplained points are their balance minus every logged change of theirs.
  json& listed = report["players"]["unexplained"];
  ASSERT_FALSE(listed.empty());
  for (const json& player : listed) {
    const std::string id = player["eosId"];
    const int64_t logged = N("SELECT IFNULL(SUM(points_change),0)" + Shop("eosId='" + id + "'")) +
                           N("SELECT IFNULL(SUM(amount),0)" + Trade("eosid_to='" + id + "' AND eosid_from NOT LIKE 'admin set%'")) -
                           N("SELECT IFNULL(SUM(amount),0)" + Trade("eosid_from='" + id + "'"));
    const int64_t balance = N("SELECT points FROM " + points + " WHERE eosId='" + id + "'");
    EXPECT_EQ(player["balance"], balance) << id;
    EXPECT_EQ(player["explained"], logged) << id;
    EXPECT_EQ(player["unexplained"], balance - logged) << id;
  }
  // Sorted from the largest.
  for (std::size_t i = 1; i < listed.size(); ++i)
    EXPECT_GE(listed[i - 1]["unexplained"].get<int64_t>(), listed[i]["unexplained"].get<int64_t>());
}

TEST_F(ReportFigures, EarnedAndSpentPerDayBySourceAndSinkForThePeriodAndOneServer) {
  const int64_t since = economy.Now() - 20 * 86400, until = economy.Now() - 2 * 86400;
  const std::string window = "timestamp>=" + std::to_string(since) + " AND timestamp<" + std::to_string(until);
  json report = Report({"--since", std::to_string(since), "--until", std::to_string(until)});
  json& totals = report["flows"]["totals"];
  EXPECT_EQ(totals["purchases"], N("SELECT -SUM(points_change)" + Shop(window + " AND isBuy")));
  EXPECT_EQ(totals["purchaseCount"], N("SELECT COUNT(*)" + Shop(window + " AND isBuy")));
  EXPECT_EQ(totals["units"], N("SELECT SUM(amount)" + Shop(window + " AND isBuy")));
  EXPECT_EQ(totals["sales"], N("SELECT SUM(points_change)" + Shop(window + " AND isSell")));
  EXPECT_EQ(totals["redeems"], N("SELECT COUNT(*)" + Shop(window + " AND isRedeem")));
  EXPECT_EQ(totals["tradeVolume"], N("SELECT SUM(amount)" + Trade(window + " AND eosid_from NOT LIKE 'admin %'")));
  EXPECT_EQ(totals["adminGrants"], N("SELECT SUM(amount)" + Trade(window + " AND eosid_from='admin addpoints'")));
  EXPECT_EQ(report["flows"]["days"].size(), static_cast<std::size_t>((until - 1) / 86400 - since / 86400 + 1));
  // One day on its own.
  json& day = report["flows"]["days"][5];
  const int64_t dayStart = (since / 86400 + 5) * 86400;
  const std::string oneDay = "timestamp>=" + std::to_string(dayStart) + " AND timestamp<" + std::to_string(dayStart + 86400);
  EXPECT_EQ(day["purchases"], N("SELECT IFNULL(-SUM(points_change),0)" + Shop(oneDay + " AND isBuy")));
  EXPECT_EQ(day["sales"], N("SELECT IFNULL(SUM(points_change),0)" + Shop(oneDay + " AND isSell")));
  EXPECT_EQ(day["trades"], N("SELECT COUNT(*)" + Trade(oneDay + " AND eosid_from NOT LIKE 'admin %'")));
  // The timed rewards of the made-up economy are what the logs do not explain.
  EXPECT_GT(totals["unexplained"].get<int64_t>(), 0);

  json server = Report({"--server", "2"});
  EXPECT_EQ(server["report"]["server"], 2);
  EXPECT_EQ(server["flows"]["totals"]["purchases"], N("SELECT -SUM(points_change)" + Shop("serverid=2 AND isBuy")));
  EXPECT_EQ(server["flows"]["totals"]["sales"], N("SELECT SUM(points_change)" + Shop("serverid=2 AND isSell")));
}

TEST_F(ReportFigures, RowsAheadOfThisMachinesClockBelongToAPeriodUntilNow) {
  // A game server whose clock is two hours ahead logged a purchase.
  const std::string ahead = std::to_string(economy.Now() + 7200);
  economy.Sql().Exec("INSERT INTO " + economy.Table("shoplog") +
                     " (eosId,packet,descr,timestamp,serverid,amount,points_change,newpoints,redeemsLeft,isBuy,isRedeem,"
                     "isSell) VALUES ('EOS9000002','Gacha,1;;;',''," + ahead + ",1,1,-5,50,0,1,0,0)");
  economy.Sql().Exec("UPDATE " + economy.Table("player_points") + " SET points=50 WHERE eosId='EOS9000002'");
  json report = Report();
  EXPECT_EQ(report["flows"]["totals"]["purchases"], N("SELECT -SUM(points_change)" + Shop("isBuy AND timestamp>=" +
                                                        std::to_string(economy.Now() - 90 * 86400))));
  EXPECT_EQ(report["report"]["until"].get<std::string>().substr(0, 10), report["flows"]["days"].back()["day"]);
  bool named = false;
  for (const json& note : report["notes"]) named |= note.get<std::string>().find("after this machine's clock") != std::string::npos;
  EXPECT_TRUE(named) << report["notes"];
  // The walk ends at that row, which agrees with the balances table.
  EXPECT_EQ(report["circulation"]["playersNeverLogged"], 0) << "the player's row is read";
  EXPECT_EQ(report["circulation"]["unexplainedSinceLastRows"].get<int64_t>() + report["circulation"]["fromLogs"].get<int64_t>(),
            report["circulation"]["total"].get<int64_t>());
}

TEST_F(ReportFigures, PacketsBoughtTheirPointsAndThoseOfTheCatalogueNobodyBought) {
  // A configuration file names the connection and the catalogue.
  const std::string config = testing::TempDir() + "report-config-" + std::to_string(::getpid()) + ".json";
  json file = {{"Mysql", json{{"server", reporttest::DatabaseFromEnvironment().Host},
                                {"port", reporttest::DatabaseFromEnvironment().Port},
                                {"username", reporttest::DatabaseFromEnvironment().User},
                                {"password", reporttest::DatabaseFromEnvironment().Password},
                                {"database", reporttest::DatabaseFromEnvironment().Database},
                                {"tablePrefix", economy.Prefix()}}},
               {"ShopPackets", json::array({{{"PacketName", "Gacha"}, {"Price", 900}, {"PlayerCooldownHours", 24}},
                                            {{"PacketName", "Never Sold"}, {"Price", 5}}})}};
  std::ofstream(config) << file.dump();
  const reporttest::RunResult run = reporttest::RunReport({"--config", config, "--since", "90d", "--format", "json"});
  ASSERT_EQ(run.Status, 0) << run.Errors;
  json report = run.Json();
  json& bought = report["packets"]["bought"];
  std::map<std::string, json> byName;
  for (const json& packet : bought) byName[packet["packet"]] = packet;
  const auto rows = economy.Sql().Rows(
      "SELECT SUBSTRING_INDEX(packet,',',1),COUNT(*),SUM(amount),-SUM(points_change),COUNT(DISTINCT eosId)" +
      Shop("isBuy GROUP BY 1"));
  ASSERT_EQ(byName.size(), rows.size());
  for (const auto& row : rows) {
    json& packet = byName[row[0]];
    EXPECT_EQ(packet["buys"], std::stoll(row[1])) << row[0];
    EXPECT_EQ(packet["units"], std::stoll(row[2])) << row[0];
    EXPECT_EQ(packet["points"], std::stoll(row[3])) << row[0];
    EXPECT_EQ(packet["buyers"], std::stoll(row[4])) << row[0];
  }
  EXPECT_GE(bought[0]["points"].get<int64_t>(), bought[1]["points"].get<int64_t>()) << "the top one first";
  EXPECT_EQ(byName["Gacha"]["cooldownHours"], 24);
  ASSERT_EQ(report["packets"]["unbought"].size(), 1u);
  EXPECT_EQ(report["packets"]["unbought"][0]["packet"], "Never Sold");
  EXPECT_EQ(report["packets"]["unbought"][0]["lastBought"], nullptr);
  EXPECT_EQ(report["packets"]["sold"][0]["points"], N("SELECT SUM(points_change)" + Shop("isSell AND packet='Stone'")));
  EXPECT_EQ(report["packets"]["sold"][0]["players"], N("SELECT COUNT(DISTINCT eosId)" + Shop("isSell AND packet='Stone'")));
  EXPECT_EQ(report["packets"]["redeemed"][0]["units"], N("SELECT SUM(amount)" + Shop("isRedeem")));
}

TEST_F(ReportFigures, HeldPacketsByPacketAndAge) {
  json held = Report()["held"];
  const std::string redeems = economy.Table("player_redeems");
  EXPECT_EQ(held["units"], N("SELECT SUM(amount) FROM " + redeems + " WHERE amount>0"));
  EXPECT_EQ(held["holdings"], N("SELECT COUNT(*) FROM " + redeems + " WHERE amount>0"));
  EXPECT_EQ(held["players"], N("SELECT COUNT(DISTINCT eosId) FROM " + redeems + " WHERE amount>0"));
  EXPECT_EQ(held["emptyRows"], N("SELECT COUNT(*) FROM " + redeems + " WHERE amount=0"));
  ASSERT_EQ(held["packets"].size(), 2u);
  for (const json& packet : held["packets"]) {
    const bool reward = packet["packet"] == "Supporter Monthly";
    EXPECT_EQ(packet["reward"], reward);
    EXPECT_EQ(packet["units"], N("SELECT SUM(amount) FROM " + redeems + " WHERE amount>0 AND packetStr LIKE '" +
                                 packet["packet"].get<std::string>() + "%'"));
    EXPECT_EQ(packet["underADay"].get<int64_t>() + packet["underAWeek"].get<int64_t>() +
                  packet["underAMonth"].get<int64_t>() + packet["underAQuarter"].get<int64_t>() +
                  packet["older"].get<int64_t>(),
              packet["units"].get<int64_t>());
  }
  json& crates = held["packets"][held["packets"][0]["packet"] == "Metal Crate" ? 0 : 1];
  EXPECT_EQ(crates["older"], N("SELECT SUM(amount) FROM " + redeems + " WHERE packetStr LIKE 'Metal Crate%' AND "
                               "lastChange<=UNIX_TIMESTAMP()-90*86400"));
}

TEST_F(ReportFigures, PlayersBalancesTopEarnersAndSpendersAndRepeatedSales) {
  json report = Report();
  json& players = report["players"];
  const std::string points = economy.Table("player_points");
  int64_t counted = 0;
  for (const json& range : players["balances"]) counted += range["players"].get<int64_t>();
  EXPECT_EQ(counted, N("SELECT COUNT(*) FROM " + points));
  EXPECT_EQ(players["balances"][4]["players"],
            N("SELECT COUNT(*) FROM " + points + " WHERE points BETWEEN 1000 AND 9999"));
  EXPECT_EQ(players["percentiles"]["max"], N("SELECT MAX(points) FROM " + points));
  // The top spender: purchases plus trades sent.
  const auto spender = economy.Sql().Rows(
      "SELECT id,SUM(v) AS t FROM (SELECT eosId AS id,-points_change AS v" + Shop("isBuy") +
      " UNION ALL SELECT eosid_from,amount" + Trade("eosid_from NOT LIKE 'admin %'") +
      ") x GROUP BY id ORDER BY t DESC,id LIMIT 1");
  EXPECT_EQ(players["topSpenders"][0]["eosId"], spender[0][0]);
  EXPECT_EQ(players["topSpenders"][0]["total"], std::stoll(spender[0][1]));
  const auto earner = economy.Sql().Rows(
      "SELECT id,SUM(v) AS t FROM (SELECT eosId AS id,points_change AS v" + Shop("isSell") +
      " UNION ALL SELECT eosid_to,amount" + Trade("eosid_from NOT LIKE 'admin set%' AND amount>0") +
      ") x GROUP BY id ORDER BY t DESC,id LIMIT 1");
  EXPECT_EQ(players["topEarners"][0]["eosId"], earner[0][0]);
  EXPECT_EQ(players["topEarners"][0]["total"], std::stoll(earner[0][1]));
  EXPECT_EQ(players["repeatedSales"][0]["sales"],
            N("SELECT COUNT(*) AS n" + Shop("isSell GROUP BY eosId,packet,timestamp DIV 86400 ORDER BY n DESC LIMIT 1")));
  EXPECT_EQ(players["topEarners"].size(), 20u);
  // The names of the characters come with the ids.
  const std::string first = players["topSpenders"][0]["eosId"];
  EXPECT_EQ(report["names"][first], "Char " + std::to_string(std::stoll(first.substr(3))));
}

TEST_F(ReportFigures, AdminGrantsAndSetsWithTheirTextsAndTheOutOfTheOrdinary) {
  json admin = Report()["admin"];
  EXPECT_EQ(admin["addCount"], N("SELECT COUNT(*)" + Trade("eosid_from='admin addpoints'")));
  EXPECT_EQ(admin["addPoints"], N("SELECT SUM(amount)" + Trade("eosid_from='admin addpoints'")));
  EXPECT_EQ(admin["setCount"], 1);
  EXPECT_EQ(admin["unusual"].size(), static_cast<std::size_t>(N("SELECT COUNT(*)" + Trade("amount=50000"))));
  EXPECT_EQ(admin["unusual"][0]["amount"], 50000);
  json& latest = admin["latest"][0];
  EXPECT_EQ(latest["kind"], "SetPoints");
  EXPECT_EQ(latest["eosId"], "EOS9000001");
  EXPECT_EQ(latest["text"], "season reset ");
  EXPECT_EQ(latest["server"], 2);
}

TEST_F(ReportFigures, PerServerAndTheSameFiguresInCsvAndHtml) {
  json report = Report();
  const auto rows = economy.Sql().Rows("SELECT serverid,-SUM(IF(isBuy,points_change,0)),SUM(IF(isSell,points_change,0)),"
                                       "COUNT(DISTINCT eosId)" + Shop("1 GROUP BY serverid ORDER BY serverid"));
  ASSERT_EQ(report["servers"].size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(report["servers"][i]["server"], std::stoll(rows[i][0]));
    EXPECT_EQ(report["servers"][i]["purchases"], std::stoll(rows[i][1]));
    EXPECT_EQ(report["servers"][i]["sales"], std::stoll(rows[i][2]));
    EXPECT_EQ(report["servers"][i]["players"], std::stoll(rows[i][3]));
  }
  json& s2 = report["servers"][1];
  EXPECT_EQ(s2["tradeVolume"], N("SELECT SUM(amount)" + Trade("serverid=2 AND eosid_from NOT LIKE 'admin %'")));

  std::vector<std::string> csv = reporttest::ConnectionFlags(economy.Prefix());
  csv.insert(csv.end(), {"--since", "90d", "--format", "csv"});
  const reporttest::RunResult table = reporttest::RunReport(csv);
  ASSERT_EQ(table.Status, 0) << table.Errors;
  EXPECT_EQ(table.Output.rfind("table,row,field,value\n", 0), 0u);
  EXPECT_NE(table.Output.find("flows.totals,,purchases," + report["flows"]["totals"]["purchases"].dump() + "\n"),
            std::string::npos);
  EXPECT_NE(table.Output.find("servers,2,purchases," + s2["purchases"].dump() + "\n"), std::string::npos);

  std::vector<std::string> html = reporttest::ConnectionFlags(economy.Prefix());
  html.insert(html.end(), {"--since", "90d"});
  const reporttest::RunResult page = reporttest::RunReport(html);
  ASSERT_EQ(page.Status, 0) << page.Errors;
  const std::string open = "<script type=\"application/json\" id=\"report-data\">";
  const std::size_t start = page.Output.find(open) + open.size();
  const json embedded = json::parse(page.Output.substr(start, page.Output.find("</script>", start) - start));
  EXPECT_EQ(embedded["flows"], report["flows"]);
  EXPECT_EQ(embedded["servers"], report["servers"]);
  EXPECT_EQ(page.Output.find("http://"), std::string::npos) << "no address to fetch";
  EXPECT_NE(page.Output.find("Chart.js v4.6.2"), std::string::npos);
  EXPECT_NE(page.Output.find("Permission is hereby granted"), std::string::npos) << "the license travels with it";
}

}  // namespace
