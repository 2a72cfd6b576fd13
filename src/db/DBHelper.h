#pragma once
// The database operations the rest of the plugin calls. Each opens its own
// connection from the settings, runs its queries and closes it, blocking the
// calling thread; failures are logged and end in the operation's default result.
#include <cstdint>
#include <string>
#include <string_view>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "core/AsyncTaskResults.h"
#include "db/DBRecords.h"
#include "db/DBSettings.h"
#include "modcomm/ModCommRecords.h"
#include "points/PointsRecords.h"

namespace DBHelper {

// ---- schema ------------------------------------------------------------------
void createTables();

// What became of a write: it happened, the player has no row (nothing changed),
// or the database failed (nothing changed; a warning names what was lost).
enum class WriteResult { Done, NoPlayer, Failed };

// ---- points and characters ---------------------------------------------------
// Creates the player's row when it is missing (points 0 then; also when the database is unreachable).
PlayerPointsRow loadPlayerPoints(const FString& eosId);
// True when the player's row took the change.
bool changePoints(const FString& eosId, int32_t amount);
// The same; `operation` names the caller in the warning of a failed write.
WriteResult changePointsFor(const FString& eosId, int32_t amount, std::string_view operation);
// Takes the amount only when the balance covers it, in one statement; true when taken.
bool spendPoints(const FString& eosId, int32_t amount);
// True when the player's row took the value.
bool assignPoints(const FString& eosId, int32_t points);
WriteResult assignPointsFor(const FString& eosId, int32_t points, std::string_view operation);
void resetAllPoints();
void saveSecondsWithoutReward(const FString& eosId, int32_t seconds);
void recordLogin(const PointsHandler::PlayerLoginDB& login);
void recordLogout(const PointsHandler::PlayerLogoutDB& logout);
// Player cooldown rows older than 31 days are removed at the start of a run.
inline constexpr int32_t kMinCooldownRowLifetimeSeconds = 2678400;
// The cooldown rows removed are those older than cooldownRowLifetimeSeconds (at least 31 days).
void runStartupMaintenance(int32_t cooldownRowLifetimeSeconds = kMinCooldownRowLifetimeSeconds);
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
// given) counts every unit taken until returnRedeemUnits gives back what did not
// arrive. Nothing goes to Discord here.
int64_t redeemPacket(const ModComm::PlayerServerInfo& info, const FString& packet, const FString& descr,
                     int32_t wanted, const FString& cooldownName, ShopLogRecord* written = nullptr,
                     int32_t playerCooldownSeconds = 0);
// Puts `units` of the redeem `written` back on the held row and brings its log row
// down to what arrived (deleting it when nothing did), in one transaction.
bool returnRedeemUnits(const ShopLogRecord& written, int32_t units, bool isReward);

// The player cooldown a purchase started, put back as it was when nothing of the
// purchase arrived. An empty name: the purchase started none; LastUse 0: the
// player had no such cooldown before.
struct CooldownBefore {
  FString Name;
  int64_t LastUse = 0;
};
// What a purchase's charge came to.
enum class ChargeResult { Charged, TooFewPoints, OnCooldown, Failed };
// The whole database side of a purchase, in one transaction of two round trips:
// refused while the player's cooldown `cooldownName` (when playerCooldownSeconds
// >= 1) runs, otherwise takes `charge` points only when the balance covers them
// and writes the cooldown and the log row for every unit. `written` receives the
// log row, `before` the cooldown as it was.
ChargeResult chargePurchase(const ModComm::PlayerServerInfo& info, int32_t charge, const FString& packet,
                            const FString& descr, int32_t amount, const FString& cooldownName,
                            int32_t playerCooldownSeconds, ShopLogRecord& written, CooldownBefore& before);
// Gives back `refund` points of the purchase `written`, of which `delivered`
// units arrived, with its log row brought down to them (and, when none arrived,
// the player cooldown put back), in one transaction.
bool refundPurchase(const ShopLogRecord& written, int32_t delivered, int32_t refund,
                    const CooldownBefore& cooldown = {});
void buyPacket(const ModComm::PlayerServerInfo& info, int32_t pointsChange, const FString& packet,
               const FString& descr, int32_t amount, const FString& cooldownName, bool setCooldown);
// True when the credit and its log row committed (Discord is told only then).
bool sellItems(const ModComm::PlayerServerInfo& info, const FString& itemName, const FString& descr,
               int32_t pricePerItem, int32_t pointsEarned);
// kTradeDone, kTradeTooFewPoints (also when the trade could not be made) or kTradeUnknownRecipient.
int32_t tradePoints(const FString& senderId, const FString& senderName, const FString& receiverId,
                    const FString& receiverName, int32_t amount);
void recordTrade(const TradeLogRecord& record);
void loadShopLog(TArray<ModComm::A_ShopLogEntry>& entries, const FString& eosId);
void loadTradeLog(TArray<ModComm::A_TradeLogEntry>& entries, const FString& eosId);
void storeOnJoinRewards(const TArray<OnJoinReward>& rewards, const FString& eosId);
void resetAllKits();

// ---- import from Arkshop -----------------------------------------------------
// Copies an Arkshop points table into the points table; returns the admin reply.
std::string importArkshopPoints(const std::string& tableName, const std::string& server,
                                const std::string& username, const std::string& password,
                                const std::string& database, uint32_t port);

}  // namespace DBHelper
