#pragma once
// The database operations the rest of the plugin calls. Each opens its own
// connection from the settings, runs its queries and closes it, blocking the
// calling thread; failures are logged and end in the operation's default result.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "core/AsyncTaskResults.h"
#include "db/DBSettings.h"
#include "records/DBRecords.h"
#include "records/ModCommRecords.h"
#include "records/PointsRecords.h"

namespace DBHelper {

// An operation id: 32 hexadecimal digits of a random 128-bit number. Every
// operation that changes points or held units stores its id in its transaction.
std::string NewOperationId();

// ---- schema ------------------------------------------------------------------
void createTables();

// What became of a write: it happened, the player has no row (nothing changed),
// or the database failed (nothing changed; a warning names what was lost).
// Unknown: the answer to the commit was lost and its operation id could not be
// looked up, so whether it happened is not known (nothing is retried blindly).
// NothingHeld: a subtraction from held packets found none held (nothing changed).
enum class WriteResult { Done, NoPlayer, Failed, Unknown, NothingHeld };

// ---- points and characters ---------------------------------------------------
// Creates the player's row when it is missing (points 0 then; also when the database is unreachable).
PlayerPointsRow loadPlayerPoints(const FString& eosId);
// True when the player's row took the change.
bool changePoints(const FString& eosId, int32_t amount);
// The same; `operation` names the caller in the warning of a failed write.
WriteResult changePointsFor(const FString& eosId, int32_t amount, std::string_view operation);
// Adds the amount, making the player's row when it is missing (a reward for a
// player whose row could not be made at login).
WriteResult creditPointsFor(const FString& eosId, int32_t amount, std::string_view operation);
// Takes the amount only when the balance covers it, in one statement; true when
// taken. A negative amount is refused.
bool spendPoints(const FString& eosId, int32_t amount);
// True when the player's row took the value.
bool assignPoints(const FString& eosId, int32_t points);
WriteResult assignPointsFor(const FString& eosId, int32_t points, std::string_view operation);
// What a reset of every row did: it runs in batches of kResetBatchRows, each a
// transaction of its own, so a failure leaves the batches before it done and
// running it again finishes the rest.
struct ResetOutcome {
  bool complete = false;
  uint64_t rows = 0;  // rows changed by the batches that committed
};
inline constexpr int kResetBatchRows = 1000;
ResetOutcome resetAllPoints();
// The player's points (a new row with 0 for a new player); nullopt when the
// database could not be read.
std::optional<int64_t> readPlayerPoints(const FString& eosId);
void saveSecondsWithoutReward(const FString& eosId, int32_t seconds);
void recordLogin(const PointsHandler::PlayerLoginDB& login);
void recordLogout(const PointsHandler::PlayerLogoutDB& logout);
// Player cooldown rows older than 31 days are removed at the start of a run.
inline constexpr int32_t kMinCooldownRowLifetimeSeconds = 2678400;
// A player cooldown this server configures and how long it lasts here.
struct CooldownLifetime {
  FString Name;
  int32_t Seconds = 0;
};
// Repairs this server's character rows and removes the cooldown rows of the
// names given that are older than their cooldown (at least 31 days). Rows of
// names this server does not configure are left to the servers that do.
void runStartupMaintenance(const std::vector<CooldownLifetime>& cooldowns = {});
void loadTradeTargets(TArray<ModComm::A_TradeTarget>& targets, int32_t spanSeconds);
void loadPointsWithCds(ModComm::DB_PlayerPointsWithCds& record, const FString& eosId);

// ---- redeems, shop operations and logs ---------------------------------------
void loadRedeemList(ArkTandor_AsyncTaskResults& results, const FString& eosId);
void changeRedeemAmount(const FString& eosId, const FString& packet, int32_t amount, bool isReward);
// The admin's change: NoPlayer when the player has no points row (nothing
// changes); taking away what is not held is Done.
WriteResult changeHeldAmount(const FString& eosId, const FString& packet, int32_t amount, bool isReward);
// Packets used in the low 32 bits and packets left in the high 32 bits, or -1
// (nothing held, or the player's cooldown `cooldownName` still runs when
// playerCooldownSeconds >= 1). The check, the take, the cooldown and the log row
// are one transaction of two round trips; the log row (also in *written when
// given) counts every unit taken until its settlement gives back what did not
// arrive. Nothing goes to Discord here.
// With an operation id, what was taken is owed (settleOperation) until the units
// arrived; *unknown (when given) is set when the answer to the commit was lost and
// the id could not be looked up (-1 is returned then, and the id settles it).
int64_t redeemPacket(const ModComm::PlayerServerInfo& info, const FString& packet, const FString& descr,
                     int32_t wanted, const FString& cooldownName, ShopLogRecord* written = nullptr,
                     int32_t playerCooldownSeconds = 0, const std::string& opId = {}, bool* unknown = nullptr);
// The player cooldown a purchase started, put back as it was when nothing of the
// purchase arrived. An empty name: the purchase started none; LastUse 0: the
// player had no such cooldown before.
struct CooldownBefore {
  FString Name;
  int64_t LastUse = 0;
};
// What a purchase's charge came to.
// Unknown: the answer to the commit was lost and the id could not be looked up;
// whatever it took is settled through its operation id.
enum class ChargeResult { Charged, TooFewPoints, OnCooldown, Failed, Unknown };
// The whole database side of a purchase, in one transaction of two round trips:
// refused while the player's cooldown `cooldownName` (when playerCooldownSeconds
// >= 1) runs, otherwise takes `charge` points only when the balance covers them
// and writes the cooldown and the log row for every unit. `written` receives the
// log row, `before` the cooldown as it was.
ChargeResult chargePurchase(const ModComm::PlayerServerInfo& info, int32_t charge, const FString& packet,
                            const FString& descr, int32_t amount, const FString& cooldownName,
                            int32_t playerCooldownSeconds, ShopLogRecord& written, CooldownBefore& before,
                            const std::string& opId = NewOperationId());
// True when the points change, the cooldown and the log row (also in *written
// when given) committed; whoever called decides whom to tell.
bool buyPacket(const ModComm::PlayerServerInfo& info, int32_t pointsChange, const FString& packet,
               const FString& descr, int32_t amount, const FString& cooldownName, bool setCooldown,
               ShopLogRecord* written = nullptr);
// True when the credit and its log row (also in *written when given) committed;
// a player without a points row gets one. Under the operation id `opId` (a new one
// when empty); *unknown (when given) is set when the answer to the commit was lost
// and the id could not be looked up: OperationCommitted tells later.
bool sellItems(const ModComm::PlayerServerInfo& info, const FString& itemName, const FString& descr,
               int32_t pricePerItem, int32_t pointsEarned, ShopLogRecord* written = nullptr,
               const std::string& opId = {}, bool* unknown = nullptr);
// Whether the operation id committed; nullopt when the database could not be asked.
std::optional<bool> operationCommitted(const std::string& opId);
// kTradeDone, kTradeTooFewPoints (also when the trade could not be made) or kTradeUnknownRecipient.
// On kTradeDone *written (when given) holds the trade's log row.
int32_t tradePoints(const FString& senderId, const FString& senderName, const FString& receiverId,
                    const FString& receiverName, int32_t amount, TradeLogRecord* written = nullptr);
void recordTrade(const TradeLogRecord& record);
void loadShopLog(TArray<ModComm::A_ShopLogEntry>& entries, const FString& eosId);
void loadTradeLog(TArray<ModComm::A_TradeLogEntry>& entries, const FString& eosId);
void storeOnJoinRewards(const TArray<OnJoinReward>& rewards, const FString& eosId);
ResetOutcome resetAllKits();

// ---- what charges and redeems still owe ---------------------------------------
// A charge and a redeem write, in their own transaction, what they took under
// their operation id; once the goods arrived (or did not) the settlement gives
// back what did not arrive and deletes that row, exactly once.
enum class SettleResult {
  Settled,      // committed now
  NothingOwed,  // settled before (or the operation never committed)
  GivenUp,      // can never land (the player's row is gone): kept with state 2, an error logged
  Failed        // nothing changed; try again later
};
// `delivered` units arrived; a purchase gives back `refund` points (all it charged
// when nullopt), a redeem the units that did not arrive. When nothing arrived the
// player cooldown the operation wrote is put back, unless a newer one replaced it.
// With a `reason`, a line names the player, what was given back and the operation.
SettleResult settleOperation(const DBSettings& settings, const std::string& opId, int32_t delivered,
                             std::optional<int64_t> refund, std::string_view reason = {});
// Deletes up to 1000 operation ids older than a day; the number deleted.
uint64_t clearOldOperationIds(int64_t now);
// Operation ids of this server's settlements made before `before` (an earlier run
// whose goods never arrived), oldest first, at most 1000.
std::vector<std::string> leftoverSettlements(const DBSettings& settings, int64_t serverId, int64_t before);

// ---- import from Arkshop -----------------------------------------------------
// Copies an Arkshop points table into the points table; returns the admin reply.
std::string importArkshopPoints(const std::string& tableName, const std::string& server,
                                const std::string& username, const std::string& password,
                                const std::string& database, uint32_t port);

}  // namespace DBHelper
