#include "db/Statements.h"

#include <array>
#include <string_view>

namespace DBHelper {
namespace {

constexpr unsigned char KeyByte(std::size_t index) {
  return static_cast<unsigned char>((index * 167u + 0x3Du) ^ (index >> 2) ^ 0xA5u);
}

// A statement text as it is kept in the binary: each byte mixed with a key byte.
template <std::size_t N>
struct Scrambled {
  std::array<unsigned char, N - 1> bytes{};
  consteval Scrambled(const char (&text)[N]) {
    for (std::size_t i = 0; i + 1 < N; ++i) bytes[i] = static_cast<unsigned char>(text[i]) ^ KeyByte(i);
  }
};

struct StoredText {
  const unsigned char* scrambled = nullptr;
  std::size_t size = 0;
  std::string_view plain;
};

template <std::size_t N>
constexpr StoredText Keep(const Scrambled<N>& text) {
  return {text.bytes.data(), text.bytes.size(), {}};
}
constexpr StoredText KeepPlain(std::string_view text) { return {nullptr, 0, text}; }

// ---- schema (plain) --------------------------------------------------------

constexpr std::string_view kCreatePlayerPointsTable =
    "CREATE TABLE IF NOT EXISTS {}_player_points (eosId VARCHAR(47) DEFAULT \"\",secondsWithoutReward INT UNSIGNED "
    "DEFAULT 0,points BIGINT NOT NULL DEFAULT 0,lastChange BIGINT DEFAULT 0,PRIMARY KEY(eosId));";
// Every table has a primary key (a cluster replicates rows by it). The key
// columns of the characters, held packets and cooldowns are their old unique key;
// the two logs key their rows by an id at the end of the row. Older tables are
// brought to this form at start-up (Migration.cpp).
constexpr std::string_view kCreatePlayerCharsTable =
    "CREATE TABLE IF NOT EXISTS {}_player_chars (eosId VARCHAR(47) NOT NULL DEFAULT \"\",charName VARCHAR(127) NOT "
    "NULL DEFAULT \"\",tribeName VARCHAR(127) NOT NULL DEFAULT \"\",lastLogin INT UNSIGNED DEFAULT 0,lastLogout INT "
    "UNSIGNED DEFAULT 0,lastServerId INT UNSIGNED DEFAULT 0,PRIMARY KEY(eosId,charName,tribeName));";
constexpr std::string_view kCreatePlayerRedeemTable =
    "CREATE TABLE IF NOT EXISTS {}_player_redeems (eosId VARCHAR(47) NOT NULL DEFAULT \"\",packetStr VARCHAR(511) "
    "NOT NULL DEFAULT \"\",amount INT DEFAULT 0,lastChange BIGINT DEFAULT 0,isRewardPacket BOOL DEFAULT "
    "FALSE,isAdminReward BOOL DEFAULT FALSE,PRIMARY KEY(eosId,packetStr));";
constexpr std::string_view kCreatePlayerCooldownTable =
    "CREATE TABLE IF NOT EXISTS {}_player_cooldowns (eosId VARCHAR(47) NOT NULL DEFAULT \"\",packetName "
    "VARCHAR(255) NOT NULL DEFAULT \"\",lastUse INT UNSIGNED DEFAULT 0,PRIMARY KEY(eosId,packetName));";
constexpr std::string_view kCreateTradeLogTable =
    "CREATE TABLE IF NOT EXISTS {}_tradelog (eosid_from VARCHAR(47) DEFAULT \"\",eosid_to VARCHAR(47) DEFAULT "
    "\"\",from_name VARCHAR(255) DEFAULT \"\",to_name VARCHAR(255) DEFAULT \"\",timestamp BIGINT DEFAULT "
    "0,serverid INT UNSIGNED DEFAULT 0,amount BIGINT DEFAULT 0,points_after_from BIGINT DEFAULT "
    "0,points_after_to BIGINT DEFAULT 0,id BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,PRIMARY KEY(id),KEY "
    "timestamp(timestamp),KEY fromTime(eosid_from,timestamp),KEY toTime(eosid_to,timestamp));";
constexpr std::string_view kCreateShopLogTable =
    "CREATE TABLE IF NOT EXISTS {}_shoplog (eosId VARCHAR(47) DEFAULT \"\",packet VARCHAR(255) DEFAULT "
    "\"\",descr VARCHAR(255) DEFAULT \"\",timestamp BIGINT DEFAULT 0,serverid INT UNSIGNED DEFAULT 0,amount INT "
    "DEFAULT 0,points_change BIGINT DEFAULT 0,newpoints BIGINT DEFAULT 0,redeemsLeft INT UNSIGNED DEFAULT "
    "0,isBuy BOOL DEFAULT FALSE,isRedeem BOOL DEFAULT FALSE,isSell BOOL DEFAULT FALSE,id BIGINT UNSIGNED NOT NULL "
    "AUTO_INCREMENT,PRIMARY KEY(id),KEY timestamp(timestamp),KEY eosIdTime(eosId,timestamp));";
// The version of the tables' form, so that a newer form is never taken for an
// older one and a migration is not looked for again.
constexpr std::string_view kCreateSchemaTable =
    "CREATE TABLE IF NOT EXISTS {}_schema (name VARCHAR(31) NOT NULL,version INT NOT NULL DEFAULT 0,updated BIGINT "
    "NOT NULL DEFAULT 0,PRIMARY KEY(name));";

// Every operation that changes points or held units leaves its id here in its own
// transaction, so that after a commit whose answer was lost it can be looked up.
constexpr std::string_view kCreateOperationsTable =
    "CREATE TABLE IF NOT EXISTS {}_operations (opId CHAR(32) NOT NULL,eosId VARCHAR(47) NOT NULL DEFAULT \"\","
    "kind VARCHAR(31) NOT NULL DEFAULT \"\",created BIGINT NOT NULL DEFAULT 0,PRIMARY KEY(opId),KEY "
    "created(created));";
// What a charge or a redeem still owes until its goods arrived: written with the
// charge, settled (refund, units given back, or nothing) and deleted in one
// transaction. state: 0 owed, 2 given up (kept for an admin).
constexpr std::string_view kCreateSettlementsTable =
    "CREATE TABLE IF NOT EXISTS {}_settlements (opId CHAR(32) NOT NULL,serverId BIGINT NOT NULL DEFAULT 0,eosId "
    "VARCHAR(47) NOT NULL DEFAULT \"\",kind TINYINT NOT NULL DEFAULT 0,packet VARCHAR(511) NOT NULL DEFAULT \"\","
    "logTimestamp BIGINT NOT NULL DEFAULT 0,units INT NOT NULL DEFAULT 0,points BIGINT NOT NULL DEFAULT 0,"
    "isReward BOOL NOT NULL DEFAULT FALSE,cooldownName VARCHAR(255) NOT NULL DEFAULT \"\",cooldownBefore BIGINT "
    "NOT NULL DEFAULT 0,cooldownSet BIGINT NOT NULL DEFAULT 0,redeemsLeft INT NOT NULL DEFAULT 0,state TINYINT NOT "
    "NULL DEFAULT 0,attempts INT NOT NULL DEFAULT 0,lastError VARCHAR(255) NOT NULL DEFAULT \"\",created BIGINT "
    "NOT NULL DEFAULT 0,PRIMARY KEY(opId),KEY serverState(serverId,state,created));";

// Emptied in batches, each its own transaction, until a batch finds fewer rows:
// no DDL (a cluster would stop for it) and safe to run again after a failure.
constexpr Scrambled kResetKits{"DELETE FROM {}_player_redeems LIMIT {};"};

// ---- points and characters -------------------------------------------------

constexpr Scrambled kSelectPlayerPoints{"SELECT secondsWithoutReward,points FROM {}_player_points WHERE eosId='{}';"};
// An insert racing another first load of the same player leaves the existing row alone.
constexpr Scrambled kAddNewPlayer{
    "INSERT INTO {}_player_points (eosId,lastChange) VALUES ('{}',{}) ON DUPLICATE KEY UPDATE eosId=eosId;"};
constexpr Scrambled kAddPlayerPoints{
    "UPDATE {}_player_points SET points=points+({}),lastChange={} WHERE eosId='{}';"};
// A credit that makes the player's row when it is missing (the row could not be
// made at login while the database was down).
constexpr Scrambled kCreditPlayerPoints{
    "INSERT INTO {}_player_points (eosId,points,lastChange) VALUES ('{}',{},{}) ON DUPLICATE KEY UPDATE "
    "points=points+({}),lastChange={};"};
// Takes the amount only when the balance covers it, in one statement.
constexpr Scrambled kSpendPlayerPoints{
    "UPDATE {}_player_points SET points=points-({}),lastChange={} WHERE eosId='{}' AND points>=({});"};
constexpr Scrambled kSetPlayerPoints{"UPDATE {}_player_points SET points={},lastChange={} WHERE eosId='{}';"};
constexpr Scrambled kResetPlayerPoints{"UPDATE {}_player_points SET points=0 WHERE points<>0 LIMIT {};"};
constexpr Scrambled kUpdateSecondsWithoutReward{
    "UPDATE {}_player_points SET secondsWithoutReward={},lastChange={} WHERE eosId='{}';"};
// Both rows of a trade, locked in key order so that opposite trades cannot deadlock.
constexpr Scrambled kLockTradePartners{
    "SELECT eosId,points FROM {}_player_points WHERE eosId IN ('{}','{}') ORDER BY eosId FOR UPDATE;"};
constexpr Scrambled kInsertPlayerLogin{
    "INSERT INTO {}_player_chars (eosId,charName,tribeName,lastLogin,lastServerId) VALUES ('{}','{}','{}',{},{}) "
    "ON DUPLICATE KEY UPDATE lastLogin={},lastServerId={};"};
// The character the player logged in with last is the one logging out.
constexpr Scrambled kInsertPlayerLogout{
    "UPDATE {}_player_chars SET lastLogout={} WHERE eosId='{}' ORDER BY lastLogin DESC LIMIT 1;"};
// A logout never recorded: the character counts as logged out at its login time.
constexpr Scrambled kFixMissedLogouts{
    "UPDATE {}_player_chars SET lastLogout=lastLogin WHERE lastServerId={} AND lastLogin>lastLogout;"};
constexpr Scrambled kClearWrongPlayerData{
    "DELETE FROM {}_player_chars WHERE lastServerId={} AND (charName='' OR charName IS NULL OR lastLogin=0 OR "
    "lastLogin IS NULL);"};
constexpr Scrambled kGetTradeTargets{
    "SELECT eosId,charName,tribeName,lastLogin,lastLogout FROM {}_player_chars WHERE "
    "GREATEST(lastLogin,lastLogout)>=CAST(UNIX_TIMESTAMP() AS SIGNED)-({}) ORDER BY eosId,lastLogin DESC;"};

// ---- operations and what they still owe ---------------------------------------

constexpr Scrambled kInsertOperation{
    "INSERT INTO {}_operations (opId,eosId,kind,created) VALUES ('{}','{}','{}',{});"};
// The table prefix comes again as the fifth value.
constexpr Scrambled kInsertOperationOnPlayer{
    "INSERT INTO {}_operations (opId,eosId,kind,created) SELECT '{}','{}','{}',{} FROM {}_player_points WHERE "
    "eosId='{}';"};
constexpr Scrambled kCountOperation{"SELECT COUNT(*) FROM {}_operations WHERE opId='{}';"};
// In small batches, so that no statement holds many locks for long.
constexpr Scrambled kClearOldOperations{"DELETE FROM {}_operations WHERE created<{} LIMIT 1000;"};
constexpr Scrambled kInsertSettlement{
    "INSERT INTO {}_settlements (opId,serverId,eosId,kind,packet,logTimestamp,units,points,isReward,cooldownName,"
    "cooldownBefore,cooldownSet,redeemsLeft,created) VALUES ('{}',{},'{}',{},'{}',{},{},{},{},'{}',{},{},{},{});"};
constexpr Scrambled kLockSettlement{
    "SELECT eosId,kind,packet,logTimestamp,units,points,isReward,cooldownName,cooldownBefore,cooldownSet,"
    "redeemsLeft,state FROM {}_settlements WHERE opId='{}' FOR UPDATE;"};
constexpr Scrambled kDeleteSettlement{"DELETE FROM {}_settlements WHERE opId='{}';"};
constexpr Scrambled kGiveUpSettlement{
    "UPDATE {}_settlements SET state=2,attempts=attempts+1,lastError='{}' WHERE opId='{}';"};
constexpr Scrambled kSelectLeftoverSettlements{
    "SELECT opId FROM {}_settlements WHERE serverId={} AND state=0 AND created<{} ORDER BY created LIMIT 1000;"};

// ---- redeems -----------------------------------------------------------------

constexpr Scrambled kSelectRedeemPacketsForPlayer{
    "SELECT packetStr,amount FROM {}_player_redeems WHERE eosId='{}' ORDER BY lastChange,packetStr;"};
constexpr Scrambled kGetRedeemPacketAmount{
    "SELECT amount FROM {}_player_redeems WHERE eosId='{}' AND packetStr='{}';"};
constexpr Scrambled kLockRedeemPacketAmount{
    "SELECT amount,isRewardPacket FROM {}_player_redeems WHERE eosId='{}' AND packetStr='{}' FOR UPDATE;"};
constexpr Scrambled kUpdateRedeemPacketAddAmount{
    "INSERT INTO {}_player_redeems (eosId,packetStr,amount,lastChange,isRewardPacket) VALUES ('{}','{}',{},{},{}) "
    "ON DUPLICATE KEY UPDATE amount=amount+({}),lastChange={};"};
constexpr Scrambled kUpdateExistingRedeemPacketSetAmount{
    "UPDATE {}_player_redeems SET amount={},lastChange={} WHERE eosId='{}' AND packetStr='{}';"};
constexpr Scrambled kDeleteRedeemPacket{"DELETE FROM {}_player_redeems WHERE eosId='{}' AND packetStr='{}';"};
// A redeemed row that reached 0 goes, unless it is a reward row: that one stays at
// 0, or the reward would be granted again at the next login.
constexpr Scrambled kDeleteEmptiedRedeemPacket{
    "DELETE FROM {}_player_redeems WHERE eosId='{}' AND packetStr='{}' AND NOT isRewardPacket;"};
constexpr Scrambled kZeroEmptiedRewardPacket{
    "UPDATE {}_player_redeems SET amount=0,lastChange={} WHERE eosId='{}' AND packetStr='{}' AND isRewardPacket;"};
constexpr Scrambled kInsertOnJoinRewardPacketsHead{
    "INSERT INTO {}_player_redeems (eosId,packetStr,amount,lastChange,isRewardPacket) VALUES "};
constexpr Scrambled kInsertOnJoinRewardPacketsTuple{"('{}','{}',{},{},true),"};
// A reward already held keeps its row: the initial amount is granted once.
constexpr Scrambled kInsertOnJoinRewardPacketsTail{" ON DUPLICATE KEY UPDATE eosId=eosId"};

// ---- cooldowns ---------------------------------------------------------------

constexpr Scrambled kGetPlayerCds{"SELECT packetName,lastUse FROM {}_player_cooldowns WHERE eosId='{}';"};
constexpr Scrambled kGetPlayerPacketCd{
    "SELECT lastUse FROM {}_player_cooldowns WHERE eosId='{}' AND packetName='{}';"};
constexpr Scrambled kUpdatePlayerPacketCd{
    "INSERT INTO {}_player_cooldowns (eosId,packetName,lastUse) VALUES ('{}','{}',{}) ON DUPLICATE KEY UPDATE "
    "lastUse={};"};
constexpr Scrambled kDeletePlayerPacketCd{"DELETE FROM {}_player_cooldowns WHERE eosId='{}' AND packetName='{}';"};
// A cooldown a settlement gives back, only while it is still the one the
// operation wrote (a newer purchase's cooldown stays).
constexpr Scrambled kRestorePlayerPacketCd{
    "UPDATE {}_player_cooldowns SET lastUse={} WHERE eosId='{}' AND packetName='{}' AND lastUse={};"};
constexpr Scrambled kDeletePlayerPacketCdIfUnchanged{
    "DELETE FROM {}_player_cooldowns WHERE eosId='{}' AND packetName='{}' AND lastUse={};"};
// The rows of one packet name this server knows, older than their lifetime here;
// names only other servers of the network use are theirs to clear.
constexpr Scrambled kClearOldPlayerCooldownsNamed{
    "DELETE FROM {}_player_cooldowns WHERE packetName='{}' AND lastUse<CAST(UNIX_TIMESTAMP() AS SIGNED)-({});"};
constexpr Scrambled kClearOldPlayerCooldowns{
    "DELETE FROM {}_player_cooldowns WHERE lastUse<CAST(UNIX_TIMESTAMP() AS SIGNED)-({});"};

// ---- logs --------------------------------------------------------------------

constexpr Scrambled kInsertShopLog{
    "INSERT INTO {}_shoplog (eosId,packet,descr,timestamp,serverid,amount,points_change,newpoints,redeemsLeft,"
    "isBuy,isRedeem,isSell) VALUES ('{}','{}','{}',{},{},{},{},{},{},{},{},{});"};
// The row a purchase or redeem wrote, found by what it holds, brought down to what
// arrived. The operation's player is busy until it ends, so no other row of theirs
// with these values is written in between.
constexpr Scrambled kAdjustShopLogRow{
    "UPDATE {}_shoplog SET amount={},points_change={},newpoints=newpoints+({}),redeemsLeft={} WHERE eosId='{}' AND "
    "packet='{}' AND timestamp={} AND amount={} AND points_change={} AND isBuy={} AND isRedeem={} LIMIT 1;"};
constexpr Scrambled kDeleteShopLogRow{
    "DELETE FROM {}_shoplog WHERE eosId='{}' AND packet='{}' AND timestamp={} AND amount={} AND points_change={} AND "
    "isBuy={} AND isRedeem={} LIMIT 1;"};
constexpr Scrambled kSelectShopLogForPlayer{
    "SELECT packet,descr,timestamp,amount,points_change,isBuy,isRedeem,isSell FROM {}_shoplog WHERE eosId='{}' "
    "ORDER BY timestamp DESC LIMIT 500;"};
constexpr Scrambled kInsertTradeLog{
    "INSERT INTO {}_tradelog (eosid_from,eosid_to,from_name,to_name,timestamp,serverid,amount,points_after_from,"
    "points_after_to) VALUES ('{}','{}','{}','{}',{},{},{},{},{});"};
constexpr Scrambled kSelectTradeLogForPlayer{
    "SELECT eosid_from,eosid_to,from_name,to_name,timestamp,amount FROM {}_tradelog WHERE eosid_from='{}' OR "
    "eosid_to='{}' ORDER BY timestamp DESC LIMIT 500;"};

// ---- import from Arkshop -----------------------------------------------------

// The only argument is the Arkshop table, already validated and quoted.
constexpr Scrambled kSelectArkshopPlayerData{"SELECT EosId,Points FROM {};"};
constexpr Scrambled kInsertArkshopDataHead{
    "INSERT INTO {}_player_points (eosId,secondsWithoutReward,points,lastChange) VALUES "};
constexpr Scrambled kInsertArkshopDataTuple{"('{}',0,{},{}),"};
// A player who already has a row keeps it as it is.
constexpr Scrambled kInsertArkshopDataTail{" ON DUPLICATE KEY UPDATE eosId=eosId"};

constexpr StoredText Stored(Sql statement) {
  switch (statement) {
    case Sql::createPlayerPointsTable: return KeepPlain(kCreatePlayerPointsTable);
    case Sql::createPlayerCharsTable: return KeepPlain(kCreatePlayerCharsTable);
    case Sql::createPlayerRedeemTable: return KeepPlain(kCreatePlayerRedeemTable);
    case Sql::createShopLogTable: return KeepPlain(kCreateShopLogTable);
    case Sql::createTradeLogTable: return KeepPlain(kCreateTradeLogTable);
    case Sql::createPlayerCooldownTable: return KeepPlain(kCreatePlayerCooldownTable);
    case Sql::createOperationsTable: return KeepPlain(kCreateOperationsTable);
    case Sql::createSettlementsTable: return KeepPlain(kCreateSettlementsTable);
    case Sql::createSchemaTable: return KeepPlain(kCreateSchemaTable);
    case Sql::insertOperation: return Keep(kInsertOperation);
    case Sql::insertOperationOnPlayer: return Keep(kInsertOperationOnPlayer);
    case Sql::countOperation: return Keep(kCountOperation);
    case Sql::clearOldOperations: return Keep(kClearOldOperations);
    case Sql::insertSettlement: return Keep(kInsertSettlement);
    case Sql::lockSettlement: return Keep(kLockSettlement);
    case Sql::deleteSettlement: return Keep(kDeleteSettlement);
    case Sql::giveUpSettlement: return Keep(kGiveUpSettlement);
    case Sql::selectLeftoverSettlements: return Keep(kSelectLeftoverSettlements);
    case Sql::selectPlayerPoints: return Keep(kSelectPlayerPoints);
    case Sql::addNewPlayer: return Keep(kAddNewPlayer);
    case Sql::addPlayerPoints: return Keep(kAddPlayerPoints);
    case Sql::creditPlayerPoints: return Keep(kCreditPlayerPoints);
    case Sql::spendPlayerPoints: return Keep(kSpendPlayerPoints);
    case Sql::setPlayerPoints: return Keep(kSetPlayerPoints);
    case Sql::resetPlayerPoints: return Keep(kResetPlayerPoints);
    case Sql::updateSecondsWithoutReward: return Keep(kUpdateSecondsWithoutReward);
    case Sql::lockTradePartners: return Keep(kLockTradePartners);
    case Sql::insertPlayerLogin: return Keep(kInsertPlayerLogin);
    case Sql::insertPlayerLogout: return Keep(kInsertPlayerLogout);
    case Sql::fixMissedLogouts: return Keep(kFixMissedLogouts);
    case Sql::clearWrongPlayerData: return Keep(kClearWrongPlayerData);
    case Sql::getTradeTargets: return Keep(kGetTradeTargets);
    case Sql::selectRedeemPacketsForPlayer: return Keep(kSelectRedeemPacketsForPlayer);
    case Sql::getRedeemPacketAmount: return Keep(kGetRedeemPacketAmount);
    case Sql::lockRedeemPacketAmount: return Keep(kLockRedeemPacketAmount);
    case Sql::updateRedeemPacketAddAmount: return Keep(kUpdateRedeemPacketAddAmount);
    case Sql::updateExistingRedeemPacketSetAmount: return Keep(kUpdateExistingRedeemPacketSetAmount);
    case Sql::deleteRedeemPacket: return Keep(kDeleteRedeemPacket);
    case Sql::deleteEmptiedRedeemPacket: return Keep(kDeleteEmptiedRedeemPacket);
    case Sql::zeroEmptiedRewardPacket: return Keep(kZeroEmptiedRewardPacket);
    case Sql::resetKits: return Keep(kResetKits);
    case Sql::insertOnJoinRewardPacketsHead: return Keep(kInsertOnJoinRewardPacketsHead);
    case Sql::insertOnJoinRewardPacketsTuple: return Keep(kInsertOnJoinRewardPacketsTuple);
    case Sql::insertOnJoinRewardPacketsTail: return Keep(kInsertOnJoinRewardPacketsTail);
    case Sql::getPlayerCds: return Keep(kGetPlayerCds);
    case Sql::getPlayerPacketCd: return Keep(kGetPlayerPacketCd);
    case Sql::updatePlayerPacketCd: return Keep(kUpdatePlayerPacketCd);
    case Sql::deletePlayerPacketCd: return Keep(kDeletePlayerPacketCd);
    case Sql::restorePlayerPacketCd: return Keep(kRestorePlayerPacketCd);
    case Sql::deletePlayerPacketCdIfUnchanged: return Keep(kDeletePlayerPacketCdIfUnchanged);
    case Sql::clearOldPlayerCooldownsNamed: return Keep(kClearOldPlayerCooldownsNamed);
    case Sql::clearOldPlayerCooldowns: return Keep(kClearOldPlayerCooldowns);
    case Sql::insertShopLog: return Keep(kInsertShopLog);
    case Sql::adjustShopLogRow: return Keep(kAdjustShopLogRow);
    case Sql::deleteShopLogRow: return Keep(kDeleteShopLogRow);
    case Sql::selectShopLogForPlayer: return Keep(kSelectShopLogForPlayer);
    case Sql::insertTradeLog: return Keep(kInsertTradeLog);
    case Sql::selectTradeLogForPlayer: return Keep(kSelectTradeLogForPlayer);
    case Sql::selectArkshopPlayerData: return Keep(kSelectArkshopPlayerData);
    case Sql::insertArkshopDataHead: return Keep(kInsertArkshopDataHead);
    case Sql::insertArkshopDataTuple: return Keep(kInsertArkshopDataTuple);
    case Sql::insertArkshopDataTail: return Keep(kInsertArkshopDataTail);
    case Sql::Count: break;
  }
  return {};
}

std::string Restore(const StoredText& stored) {
  if (stored.scrambled == nullptr) return std::string(stored.plain);
  std::string text(stored.size, '\0');
  for (std::size_t i = 0; i < stored.size; ++i) text[i] = static_cast<char>(stored.scrambled[i] ^ KeyByte(i));
  return text;
}

constexpr auto kStatementCount = static_cast<std::size_t>(Sql::Count);

struct RestoredStatements {
  RestoredStatements() {
    for (std::size_t i = 0; i < kStatementCount; ++i) texts[i] = Restore(Stored(static_cast<Sql>(i)));
  }
  std::array<std::string, kStatementCount> texts;
};

}  // namespace

const std::string& StatementText(Sql statement) {
  thread_local const RestoredStatements restored;
  static const std::string none;
  const auto index = static_cast<std::size_t>(statement);
  return index < kStatementCount ? restored.texts[index] : none;
}

}  // namespace DBHelper
