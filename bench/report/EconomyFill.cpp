#include "EconomyFill.h"

namespace economyfill {
namespace {

std::string N(int64_t value) { return std::to_string(value); }

std::string Replace(std::string text, const std::string& prefix) {
  for (std::size_t at = text.find("{}"); at != std::string::npos; at = text.find("{}", at + prefix.size()))
    text.replace(at, 2, prefix);
  return text;
}

// The tables as the plugin created them before they had keys and indexes (no schema table).
const char* const kCreateVersion1[] = {
    "CREATE TABLE IF NOT EXISTS {}_player_points (eosId VARCHAR(47) DEFAULT \"\",secondsWithoutReward INT UNSIGNED "
    "DEFAULT 0,points BIGINT NOT NULL DEFAULT 0,lastChange BIGINT DEFAULT 0,PRIMARY KEY(eosId));",
    "CREATE TABLE IF NOT EXISTS {}_player_chars (eosId VARCHAR(47) DEFAULT \"\",charName VARCHAR(127) DEFAULT "
    "\"\",tribeName VARCHAR(127) DEFAULT \"\",lastLogin INT UNSIGNED DEFAULT 0,lastLogout INT UNSIGNED DEFAULT "
    "0,lastServerId INT UNSIGNED DEFAULT 0,UNIQUE(eosId,charName,tribeName));",
    "CREATE TABLE IF NOT EXISTS {}_player_redeems (eosId VARCHAR(47) NOT NULL DEFAULT \"\",packetStr VARCHAR(511) "
    "NOT NULL DEFAULT \"\",amount INT DEFAULT 0,lastChange BIGINT DEFAULT 0,isRewardPacket BOOL DEFAULT "
    "FALSE,isAdminReward BOOL DEFAULT FALSE,UNIQUE(eosId,packetStr));",
    "CREATE TABLE IF NOT EXISTS {}_player_cooldowns (eosId VARCHAR(47) DEFAULT \"\",packetName VARCHAR(255) "
    "DEFAULT \"\",lastUse INT UNSIGNED DEFAULT 0,UNIQUE(eosId,packetName));",
    "CREATE TABLE IF NOT EXISTS {}_tradelog (eosid_from VARCHAR(47) DEFAULT \"\",eosid_to VARCHAR(47) DEFAULT "
    "\"\",from_name VARCHAR(255) DEFAULT \"\",to_name VARCHAR(255) DEFAULT \"\",timestamp BIGINT DEFAULT "
    "0,serverid INT UNSIGNED DEFAULT 0,amount BIGINT DEFAULT 0,points_after_from BIGINT DEFAULT "
    "0,points_after_to BIGINT DEFAULT 0);",
    "CREATE TABLE IF NOT EXISTS {}_shoplog (eosId VARCHAR(47) DEFAULT \"\",packet VARCHAR(255) DEFAULT "
    "\"\",descr VARCHAR(255) DEFAULT \"\",timestamp BIGINT DEFAULT 0,serverid INT UNSIGNED DEFAULT 0,amount INT "
    "DEFAULT 0,points_change BIGINT DEFAULT 0,newpoints BIGINT DEFAULT 0,redeemsLeft INT UNSIGNED DEFAULT "
    "0,isBuy BOOL DEFAULT FALSE,isRedeem BOOL DEFAULT FALSE,isSell BOOL DEFAULT FALSE);",
};

// The tables exactly as the plugin creates them now, and the version it records.
const char* const kCreateVersion2[] = {
    "CREATE TABLE IF NOT EXISTS {}_player_points (eosId VARCHAR(47) DEFAULT \"\",secondsWithoutReward INT UNSIGNED "
    "DEFAULT 0,points BIGINT NOT NULL DEFAULT 0,lastChange BIGINT DEFAULT 0,PRIMARY KEY(eosId));",
    "CREATE TABLE IF NOT EXISTS {}_player_chars (eosId VARCHAR(47) NOT NULL DEFAULT \"\",charName VARCHAR(127) NOT "
    "NULL DEFAULT \"\",tribeName VARCHAR(127) NOT NULL DEFAULT \"\",lastLogin INT UNSIGNED DEFAULT 0,lastLogout INT "
    "UNSIGNED DEFAULT 0,lastServerId INT UNSIGNED DEFAULT 0,PRIMARY KEY(eosId,charName,tribeName));",
    "CREATE TABLE IF NOT EXISTS {}_player_redeems (eosId VARCHAR(47) NOT NULL DEFAULT \"\",packetStr VARCHAR(511) "
    "NOT NULL DEFAULT \"\",amount INT DEFAULT 0,lastChange BIGINT DEFAULT 0,isRewardPacket BOOL DEFAULT "
    "FALSE,isAdminReward BOOL DEFAULT FALSE,PRIMARY KEY(eosId,packetStr));",
    "CREATE TABLE IF NOT EXISTS {}_player_cooldowns (eosId VARCHAR(47) NOT NULL DEFAULT \"\",packetName "
    "VARCHAR(255) NOT NULL DEFAULT \"\",lastUse INT UNSIGNED DEFAULT 0,PRIMARY KEY(eosId,packetName));",
    "CREATE TABLE IF NOT EXISTS {}_tradelog (eosid_from VARCHAR(47) DEFAULT \"\",eosid_to VARCHAR(47) DEFAULT "
    "\"\",from_name VARCHAR(255) DEFAULT \"\",to_name VARCHAR(255) DEFAULT \"\",timestamp BIGINT DEFAULT "
    "0,serverid INT UNSIGNED DEFAULT 0,amount BIGINT DEFAULT 0,points_after_from BIGINT DEFAULT "
    "0,points_after_to BIGINT DEFAULT 0,id BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,PRIMARY KEY(id),KEY "
    "timestamp(timestamp),KEY fromTime(eosid_from,timestamp),KEY toTime(eosid_to,timestamp));",
    "CREATE TABLE IF NOT EXISTS {}_shoplog (eosId VARCHAR(47) DEFAULT \"\",packet VARCHAR(255) DEFAULT "
    "\"\",descr VARCHAR(255) DEFAULT \"\",timestamp BIGINT DEFAULT 0,serverid INT UNSIGNED DEFAULT 0,amount INT "
    "DEFAULT 0,points_change BIGINT DEFAULT 0,newpoints BIGINT DEFAULT 0,redeemsLeft INT UNSIGNED DEFAULT "
    "0,isBuy BOOL DEFAULT FALSE,isRedeem BOOL DEFAULT FALSE,isSell BOOL DEFAULT FALSE,id BIGINT UNSIGNED NOT NULL "
    "AUTO_INCREMENT,PRIMARY KEY(id),KEY timestamp(timestamp),KEY eosIdTime(eosId,timestamp));",
    "CREATE TABLE IF NOT EXISTS {}_schema (name VARCHAR(31) NOT NULL,version INT NOT NULL DEFAULT 0,updated BIGINT "
    "NOT NULL DEFAULT 0,PRIMARY KEY(name));",
    "INSERT INTO {}_schema (name,version,updated) VALUES ('tables',2,0) ON DUPLICATE KEY UPDATE version=2",
};

// Row numbers 1 to count, signed so that negative arithmetic on them works.
std::string Seq(const std::string& count) { return "(SELECT CAST(seq AS SIGNED) AS seq FROM seq_1_to_" + count + ") s"; }

std::string Player(const std::string& number) { return "CONCAT('EOS',LPAD(" + number + ",7,'0'))"; }

}  // namespace

const std::vector<std::string>& PacketNames() {
  static const std::vector<std::string> kNames = {"Metal Crate", "Starter Kit", "Gacha",         "Experience",
                                                  "Supporter Crate", "Metal Crate", "Starter Kit", "Weekend Daylight"};
  return kNames;
}

std::vector<std::string> Statements(const std::string& prefix, const Size& size) {
  std::vector<std::string> sql;
  if (size.Version == 1)
    for (const char* create : kCreateVersion1) sql.push_back(Replace(create, prefix));
  else
    for (const char* create : kCreateVersion2) sql.push_back(Replace(create, prefix));
  const std::string players = N(size.Players);
  const std::string start = N(size.Now - size.Days * 86400);
  const std::string span = N(size.Days * 86400);
  // Every balance change as one event: staged with a running balance, then written to the logs.
  sql.push_back(Replace("DROP TABLE IF EXISTS {}_fill_events", prefix));
  sql.push_back(
      Replace("CREATE TABLE {}_fill_events (id BIGINT NOT NULL, player BIGINT NOT NULL, ts BIGINT NOT NULL, kind "
      "TINYINT NOT NULL, chg BIGINT NOT NULL, passive BIGINT NOT NULL, server INT NOT NULL, amount INT NOT NULL, "
      "packet VARCHAR(64) NOT NULL, partner BIGINT NOT NULL, balance BIGINT NOT NULL DEFAULT 0, PRIMARY KEY(id)) "
      "ENGINE=InnoDB", prefix));
  // Shop rows: 6 of 10 purchases, 3 sales, 1 redeem; a timed reward (unlogged) before every third.
  std::string packets = "ELT(1+seq%8";
  for (const std::string& name : PacketNames()) packets += ",'" + name + "'";
  packets += ")";
  sql.push_back("INSERT INTO {}_fill_events SELECT seq, 1+(seq*7919)%" + players + ", " + start + "+(seq*" + span +
                ") DIV " + N(size.ShopRows + 1) +
                ", IF(seq%10<6,0,IF(seq%10<9,1,2)), IF(seq%10<6,-(10*(1+seq%20))*(1+seq%3),IF(seq%10<9,1+seq%7,0)), "
                "IF(seq%3=0,40,0), 1+seq%3, 1+seq%3, IF(seq%10<6," +
                packets + ",IF(seq%10<9,'Stone','Supporter Monthly')), 0, 0 FROM " + Seq(N(size.ShopRows)));
  // Trades: two events each (sender out, receiver in).
  const std::string base = N(size.ShopRows);
  sql.push_back("INSERT INTO {}_fill_events SELECT " + base + "+2*seq-1, 1+(seq*104729)%" + players + ", " + start +
                "+(seq*" + span + ") DIV " + N(size.TradeRows + 1) + ", 3, -(5+seq%50), 0, 1+seq%3, 0, '', 1+(seq*"
                "1299709+1)%" + players + ", 0 FROM " + Seq(N(size.TradeRows)));
  sql.push_back("INSERT INTO {}_fill_events SELECT id+1, partner, ts, 4, -chg, 0, server, 0, '', player, 0 FROM "
                "{}_fill_events WHERE kind=3");
  sql.push_back("DELETE FROM {}_fill_events WHERE kind IN (3,4) AND player=partner");
  // Admin grants with a log text; every tenth is large.
  const std::string grantBase = N(size.ShopRows + 2 * size.TradeRows);
  sql.push_back("INSERT INTO {}_fill_events SELECT " + grantBase + "+seq, 1+(seq*15485863)%" + players + ", " + start +
                "+(seq*" + span + ") DIV " + N(size.GrantRows + 1) +
                ", 5, IF(seq%10=0,50000,100+seq%5*50), 0, 1+seq%3, 0, '', 0, 0 FROM " + Seq(N(size.GrantRows)));
  // Running balances: a start of 2000 to 6900 points, and the timed rewards before each row.
  sql.push_back("DROP TABLE IF EXISTS {}_fill_balances");
  sql.push_back("CREATE TABLE {}_fill_balances (id BIGINT NOT NULL PRIMARY KEY, balance BIGINT NOT NULL) ENGINE=InnoDB "
                "SELECT id, 2000+(player%50)*100+SUM(chg+passive) OVER (PARTITION BY player ORDER BY ts,id) AS "
                "balance FROM {}_fill_events");
  // Opening balances are timed rewards too: the first row of each player shows them.
  sql.push_back(Replace(
      "INSERT INTO {}_shoplog (eosId,packet,descr,timestamp,serverid,amount,points_change,newpoints,redeemsLeft,isBuy,"
      "isRedeem,isSell) SELECT " + Player("player") +
          ", IF(kind=0,CONCAT(packet,',',amount,';;;'),IF(kind=2,CONCAT(packet,',1;;;'),packet)), packet, ts, server, "
          "amount, chg, GREATEST(b.balance,0), IF(kind=2,player%3,0), kind=0, kind=2, kind=1 FROM {}_fill_events e "
          "JOIN {}_fill_balances b USING (id) WHERE kind<3",
      prefix));
  sql.push_back(Replace(
      "INSERT INTO {}_tradelog (eosid_from,eosid_to,from_name,to_name,timestamp,serverid,amount,points_after_from,"
      "points_after_to) SELECT " + Player("o.player") + "," + Player("i.player") +
          ", CONCAT('Char ',o.player), CONCAT('Char ',i.player), o.ts, o.server, -o.chg, ob.balance, ib.balance FROM "
          "{}_fill_events o JOIN {}_fill_events i ON i.id=o.id+1 AND i.kind=4 JOIN {}_fill_balances ob ON ob.id=o.id "
          "JOIN {}_fill_balances ib ON ib.id=i.id WHERE o.kind=3",
      prefix));
  sql.push_back(Replace("INSERT INTO {}_tradelog (eosid_from,eosid_to,from_name,to_name,timestamp,serverid,amount,"
                        "points_after_from,points_after_to) SELECT 'admin addpoints'," +
                            Player("player") +
                            ", CONCAT('event prize ',id%7,' '), '', ts, server, chg, -1, -1 FROM {}_fill_events WHERE "
                            "kind=5",
                        prefix));
  // Balances now: the last row's balance plus the rewards since, or the start for players without rows.
  sql.push_back("INSERT INTO {}_player_points (eosId,secondsWithoutReward,points,lastChange) SELECT " +
                Player("seq") + ", seq%1800, 2000+(seq%50)*100+IFNULL(g.total,0)+(seq%4)*25, " + N(size.Now) +
                " FROM " + Seq(players) +
                " LEFT JOIN (SELECT player,SUM(chg+passive) AS total FROM {}_fill_events GROUP BY player) g ON "
                "g.player=seq");
  sql.push_back(Replace("DROP TABLE {}_fill_events", prefix));
  sql.push_back(Replace("DROP TABLE {}_fill_balances", prefix));
  sql.push_back(Replace("INSERT INTO {}_player_chars (eosId,charName,tribeName,lastLogin,lastLogout,lastServerId) "
                        "SELECT " + Player("seq") + ", CONCAT('Char ',seq), CONCAT('Tribe ',seq%40), " +
                            N(size.Now) + "-seq%100000, " + N(size.Now) + "-seq%100000+3600, 1+seq%3 FROM " +
                            Seq(players),
                        prefix));
  // Held packets: a monthly reward for every fifth player and stored crates of every age.
  sql.push_back(Replace("INSERT INTO {}_player_redeems (eosId,packetStr,amount,lastChange,isRewardPacket) SELECT " +
                            Player("seq") + ", 'Supporter Monthly,1', IF(seq%25=0,0,1+seq%3), " + N(size.Now) +
                            "-(seq*7919)%(120*86400), 1 FROM " + Seq(players) + " WHERE seq%5=0",
                        prefix));
  sql.push_back(Replace("INSERT INTO {}_player_redeems (eosId,packetStr,amount,lastChange,isRewardPacket) SELECT " +
                            Player("seq") + ", 'Metal Crate;;;', 1+seq%4, " + N(size.Now) +
                            "-(seq*104729)%(200*86400), 0 FROM " + Seq(players) + " WHERE seq%7=0",
                        prefix));
  sql.push_back(Replace("INSERT INTO {}_player_cooldowns (eosId,packetName,lastUse) SELECT " + Player("seq") +
                            ", 'Starter Kit', " + N(size.Now) + "-seq%86400 FROM " + Seq(players) +
                            " WHERE seq%3=0",
                        prefix));
  for (std::string& statement : sql) statement = Replace(statement, prefix);
  return sql;
}

}  // namespace economyfill
