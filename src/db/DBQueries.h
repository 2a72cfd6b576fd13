#pragma once
// The single queries. Each runs in the query frame on the caller's connection and
// returns its default when the connection is closed or the statement fails.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "core/AsyncTaskResults.h"
#include "db/DBConnection.h"
#include "db/DBHelper.h"
#include "records/DBRecords.h"
#include "records/ModCommRecords.h"
#include "records/PointsRecords.h"

namespace DBHelper {

// ---- statements sent later -----------------------------------------------------
// Inside a transaction these go out with the next statement whose answer is
// needed, or with the commit, in one round trip (DBConnection::Later); outside
// one they run at once. Null when it could not be queued; filled in (`fetched`)
// once it was answered.
using LaterOutcome = std::shared_ptr<const mysql::pending_rows>;
// The rows the statement matched, or nullopt while it is not answered.
std::optional<uint64_t> MatchedRows(const LaterOutcome& outcome);
// The first column of its first row as a number; `fallback` when there is none.
int64_t FirstNumber(const LaterOutcome& outcome, int64_t fallback);

LaterOutcome addPlayerPointsLater(DBConnection& db, int32_t amount, int64_t now, const FString& eosId);
// The same, making the player's row when it is missing.
LaterOutcome creditPlayerPointsLater(DBConnection& db, int32_t amount, int64_t now, const FString& eosId);
// Takes the amount only when the balance covers it: one matched row when taken.
LaterOutcome spendPlayerPointsLater(DBConnection& db, int32_t amount, int64_t now, const FString& eosId);
// The player's cooldown of one packet: lastUse, no row when there is none.
LaterOutcome selectPlayerPacketCdLater(DBConnection& db, const FString& eosId, const FString& packetName);
// The held amount with the row locked until the transaction ends; no row when none is held.
LaterOutcome lockRedeemPacketAmountLater(DBConnection& db, const FString& eosId, const FString& packet);

// ---- points ------------------------------------------------------------------
PlayerPointsRow selectPlayerPoints(DBConnection& db, const FString& eosId);
bool addNewPlayer(DBConnection& db, const FString& eosId, int64_t now);
// These three return the number of player rows they matched (0 on failure).
uint64_t addPlayerPoints(DBConnection& db, int32_t amount, int64_t now, const FString& eosId);
uint64_t spendPlayerPoints(DBConnection& db, int32_t amount, int64_t now, const FString& eosId);
uint64_t setPlayerPoints(DBConnection& db, int32_t points, int64_t now, const FString& eosId);
// One batch of a reset: the rows it changed, nullopt when it failed.
std::optional<uint64_t> resetPlayerPoints(DBConnection& db, int batchRows);
bool updateSecondsWithoutReward(DBConnection& db, int32_t seconds, int64_t now, const FString& eosId);

// ---- characters --------------------------------------------------------------
bool insertPlayerLogin(DBConnection& db, const PointsHandler::PlayerLoginDB& login);
bool insertPlayerLogout(DBConnection& db, int64_t logoutTime, const FString& eosId);
bool fixMissedLogouts(DBConnection& db, int64_t serverId);
bool clearWrongPlayerData(DBConnection& db, int64_t serverId);
bool getTradeTargets(DBConnection& db, int32_t spanSeconds, TArray<ModComm::A_TradeTarget>& targets);

// ---- redeems -----------------------------------------------------------------
bool selectRedeemPacketsForPlayer(DBConnection& db, const FString& eosId, ArkTandor_AsyncTaskResults& results);
// The held amount, or -1 when there is no row or it cannot be read.
int32_t getRedeemPacketAmount(DBConnection& db, const FString& eosId, const FString& packet);
// The same inside a transaction, with the row locked until it ends.
int32_t lockRedeemPacketAmount(DBConnection& db, const FString& eosId, const FString& packet);
bool updateRedeemPacketAddAmount(DBConnection& db, const FString& eosId, const FString& packet, int32_t amount,
                                 int64_t now, bool isReward);
bool updateExistingRedeemPacketSetAmount(DBConnection& db, int32_t amount, int64_t now, const FString& eosId,
                                         const FString& packet);
bool deleteRedeemPacket(DBConnection& db, const FString& eosId, const FString& packet);
std::optional<uint64_t> resetKits(DBConnection& db, int batchRows);
// Runs a reset's batches (each committed on its own) until one changes fewer rows
// than a batch holds, or one fails.
using ResetBatch = std::optional<uint64_t> (*)(DBConnection& db, int batchRows);
ResetOutcome ResetInBatches(std::string_view qualifiedName, ResetBatch batch);
// Returns the number of statements sent (one per 100 rewards).
int insertOnJoinRewardPacketsForPlayer(DBConnection& db, const FString& eosId, const TArray<OnJoinReward>& rewards,
                                       int64_t now);

// ---- cooldowns ---------------------------------------------------------------
bool getPlayerCds(DBConnection& db, const FString& eosId, TArray<ModComm::PlayerPacketCooldown>& cooldowns);
bool updatePlayerPacketCd(DBConnection& db, const FString& eosId, const FString& packetName, int64_t now);
bool deletePlayerPacketCd(DBConnection& db, const FString& eosId, const FString& packetName);
bool clearOldPlayerCooldowns(DBConnection& db, const FString& packetName, int32_t olderThanSeconds);

// ---- logs --------------------------------------------------------------------
bool insertShopLog(DBConnection& db, const ShopLogRecord& record);
// Rewrites the row `written` into `now` (amount, points change, redeems left; the
// new balance moves by the difference of the points changes), or deletes it when
// now.amount is 0. True when one row was found.
bool correctShopLog(DBConnection& db, const ShopLogRecord& written, const ShopLogRecord& now);
bool selectShopLogForPlayer(DBConnection& db, const FString& eosId, TArray<ModComm::A_ShopLogEntry>& entries);
bool insertTradeLog(DBConnection& db, const TradeLogRecord& record);
// The statement of insertTradeLog, for use inside a transaction.
std::string TradeLogStatement(DBConnection& db, const TradeLogRecord& record);
bool selectTradeLogForPlayer(DBConnection& db, const FString& eosId, TArray<ModComm::A_TradeLogEntry>& entries);

// ---- what operations still owe ------------------------------------------------
enum class SettlementKind : int { Purchase = 1, Redeem = 2 };
// One row of {}_settlements: what a charge or a redeem took, so that what did not
// arrive can be given back exactly once, whenever that happens.
struct Settlement {
  std::string opId;
  int64_t serverId = 0;
  FString eosId;
  SettlementKind kind = SettlementKind::Purchase;
  FString packet;             // the log row's packet text; the held row's key for a redeem
  int64_t logTimestamp = 0;   // the log row's timestamp
  int32_t units = 0;          // units charged or taken
  int64_t points = 0;         // points charged (a purchase)
  bool isReward = false;      // the held row is a reward row (a redeem)
  FString cooldownName;       // the player cooldown the operation wrote, or empty
  int64_t cooldownBefore = 0; // its value before (0: none)
  int64_t cooldownSet = 0;    // the value the operation wrote
  int32_t redeemsLeft = 0;    // held after the take (a redeem)
  int64_t created = 0;
  int state = 0;              // 0 owed, 2 given up
};
bool insertSettlement(DBConnection& db, const Settlement& owed);
// The row, locked until the transaction ends; nullopt when there is none (or on failure).
std::optional<Settlement> lockSettlement(DBConnection& db, const std::string& opId);
bool deleteSettlement(DBConnection& db, const std::string& opId);
bool giveUpSettlement(DBConnection& db, const std::string& opId, const std::string& reason);
bool selectLeftoverSettlements(DBConnection& db, int64_t serverId, int64_t before, std::vector<std::string>& opIds);
// Puts the player cooldown back to `before` (deletes it when before is 0), only
// while it still holds `written`.
bool restorePlayerPacketCd(DBConnection& db, const FString& eosId, const FString& packetName, int64_t before,
                           int64_t written);
// A redeemed row that reached 0: deleted, or kept at 0 when it is a reward row.
bool emptyRedeemPacket(DBConnection& db, const FString& eosId, const FString& packet, int64_t now);

// ---- import from Arkshop -----------------------------------------------------
bool selectArkshopPlayerData(DBConnection& source, const std::string& quotedTable,
                             std::vector<ArkshopPoints>& entries);
struct ArkshopWrite {
  std::size_t rowsWritten = 0;  // rows of the batches that went in
  int statements = 0;           // statements that went in
  bool complete = false;        // every batch went in
};
ArkshopWrite insertArkshopData(DBConnection& target, const std::vector<ArkshopPoints>& entries, int64_t now);

}  // namespace DBHelper
