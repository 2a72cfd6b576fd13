// Operations on held packets: the list, admin changes and redeeming.
#include <algorithm>

#include <fmt/format.h>

#include "core/Clock.h"
#include "core/TextConversion.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/OperationIds.h"
#include "db/QueryFrame.h"
#include "db/Transaction.h"

namespace DBHelper {
namespace {

struct RedeemTaken {
  int32_t used = 0;
  int32_t left = 0;
};

// Takes up to `wanted` packets from the held row `current` (-1: none), read with
// the row locked so that two redeems of the same row can never hand out more than
// it held. Runs inside the caller's transaction; false when there is nothing to
// take (an emptied row is deleted then, and `emptiedRowDeleted` says to keep that).
bool TakeHeldPackets(DBConnection& db, const FString& eosId, const FString& packet, int32_t current, int32_t wanted,
                     int64_t now, RedeemTaken& taken, bool& emptiedRowDeleted) {
  if (current == -1) return false;
  if (current < 1) {
    emptiedRowDeleted = emptyRedeemPacket(db, eosId, packet, now);
    return false;
  }
  taken.used = std::min(current, wanted);
  taken.left = current - taken.used;
  return taken.left < 1 ? emptyRedeemPacket(db, eosId, packet, now)
                        : updateExistingRedeemPacketSetAmount(db, taken.left, now, eosId, packet);
}

// The admin change of a held amount; subtractions are applied to the locked row.
WriteResult ChangeHeldAmount(DBConnection& db, const FString& eosId, const FString& packet, int32_t amount,
                             bool isReward, int64_t now) {
  if (amount >= 1)
    return updateRedeemPacketAddAmount(db, eosId, packet, amount, now, isReward) ? WriteResult::Done
                                                                                : WriteResult::Failed;
  Transaction transaction(db);
  const int32_t current = lockRedeemPacketAmount(db, eosId, packet);
  if (current == -1) return db.NoQueryFailed() ? WriteResult::NoPlayer : WriteResult::Failed;
  const int64_t remaining = static_cast<int64_t>(current) + amount;
  bool written = false;
  if (remaining >= 1)
    written = updateExistingRedeemPacketSetAmount(db, static_cast<int32_t>(remaining), now, eosId, packet);
  else if (isReward)
    written = updateExistingRedeemPacketSetAmount(db, 0, now, eosId, packet);
  else
    written = deleteRedeemPacket(db, eosId, packet);
  if (!written) return WriteResult::Failed;
  transaction.Commit();
  return WriteResult::Done;
}

// The second column of the locked held row: whether it is a reward row.
bool isReward(const LaterOutcome& held) {
  if (!held || !held->fetched || held->rows.empty()) return false;
  int32_t flag = 0;
  mysql::row_view(held->rows.front()).get(1, flag);
  return flag != 0;
}

Settlement RedeemOwed(const std::string& opId, const ShopLogRecord& record, bool reward, const FString& cooldownName,
                      int64_t lastUse, int64_t now) {
  Settlement owed;
  owed.opId = opId;
  owed.serverId = record.serverid;
  owed.eosId = record.eosId;
  owed.kind = SettlementKind::Redeem;
  owed.packet = record.packet;
  owed.logTimestamp = record.timestamp;
  owed.units = static_cast<int32_t>(record.amount);
  owed.isReward = reward;
  owed.cooldownName = cooldownName;
  owed.cooldownBefore = lastUse;
  owed.cooldownSet = now;
  owed.redeemsLeft = record.redeemsLeft;
  owed.created = now;
  return owed;
}

// Only a player who has a points row, as for the admin's points commands;
// taking away what is not held changes nothing and is no failure.
WriteResult ChangeHeldAmountOfPlayer(DBConnection& db, const FString& eosId, const FString& packet, int32_t amount,
                                     bool isReward, int64_t now) {
  if (selectPlayerPoints(db, eosId).points == -1)
    return db.NoQueryFailed() ? WriteResult::NoPlayer : WriteResult::Failed;
  const WriteResult outcome = ChangeHeldAmount(db, eosId, packet, amount, isReward, now);
  return outcome == WriteResult::NoPlayer ? WriteResult::NothingHeld : outcome;
}

// One admin change of a held amount on its own connection, by `change`.
template <typename Change>
WriteResult RunHeldAmountChange(const FString& eosId, const FString& packet, int32_t amount, bool isReward,
                                Change change) {
  if (amount == 0 || eosId.IsEmpty() || packet.IsEmpty()) return WriteResult::Done;
  const WriteResult result = RunRetried("DBHelper::changeRedeemAmount", WriteResult::Failed, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    WriteResult outcome = WriteResult::Failed;
    if (db.IsOpen()) outcome = change(db, eosId, packet, amount, isReward, now);
    db.Finish();
    return outcome;
  });
  if (result == WriteResult::Failed)
    LogLostWrite("DBHelper::changeRedeemAmount", ToNarrow(eosId),
                 fmt::format("held packet '{}' not changed by {}", ToNarrow(packet), amount));
  return result;
}

int64_t PackRedeemResult(const RedeemTaken& taken) {
  return static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(taken.used)) |
                              (static_cast<uint64_t>(static_cast<uint32_t>(taken.left)) << 32));
}

}  // namespace

void loadRedeemList(ArkTandor_AsyncTaskResults& results, const FString& eosId) {
  RunRetried("DBHelper::loadRedeemList", 0, [&] {
    DBConnection db(Settings());
    selectRedeemPacketsForPlayer(db, eosId, results);
    db.Finish();
    return 0;
  });
}

void changeRedeemAmount(const FString& eosId, const FString& packet, int32_t amount, bool isReward) {
  RunHeldAmountChange(eosId, packet, amount, isReward, ChangeHeldAmount);
}

WriteResult changeHeldAmount(const FString& eosId, const FString& packet, int32_t amount, bool isReward) {
  return RunHeldAmountChange(eosId, packet, amount, isReward, ChangeHeldAmountOfPlayer);
}

int64_t redeemPacket(const ModComm::PlayerServerInfo& info, const FString& packet, const FString& descr,
                     int32_t wanted, const FString& cooldownName, ShopLogRecord* written,
                     int32_t playerCooldownSeconds, const std::string& opId, bool* unknown) {
  if (wanted < 1) return -1;
  return RunRetried("DBHelper::redeemPacket", int64_t{-1}, [&]() -> int64_t {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    if (!db.IsOpen()) {
      db.Finish();
      return -1;
    }
    // The take, the cooldown and the log row are one transaction: units never
    // leave the held row without their log row.
    RedeemTaken taken;
    ShopLogRecord record = ShopLogFor(info, packet, descr);
    record.timestamp = now;  // the time the cooldown was checked and written, to the second
    const bool keyed = playerCooldownSeconds >= 1 && !cooldownName.IsEmpty();
    const bool identified = !opId.empty();
    const bool redeemed = [&] {
      Transaction transaction(db);
      if (identified) RecordOperation(db, opId, info.EosId, "redeem");
      // One round trip: the player's cooldown, the held row (locked) and the
      // balance; the writes go with the commit.
      const LaterOutcome cooldown = keyed ? selectPlayerPacketCdLater(db, info.EosId, cooldownName) : nullptr;
      const LaterOutcome held = lockRedeemPacketAmountLater(db, info.EosId, packet);
      record.newPoints = selectPlayerPoints(db, info.EosId).points;
      if (!db.NoQueryFailed()) return false;
      const int64_t lastUse = keyed ? FirstNumber(cooldown, 0) : 0;
      if (keyed && lastUse + playerCooldownSeconds > now) return false;
      const auto current = static_cast<int32_t>(FirstNumber(held, -1));
      bool emptiedRowDeleted = false;
      if (!TakeHeldPackets(db, info.EosId, packet, current, wanted, now, taken, emptiedRowDeleted)) {
        if (emptiedRowDeleted) transaction.Commit();
        return false;
      }
      if (!cooldownName.IsEmpty()) updatePlayerPacketCd(db, info.EosId, cooldownName, now);
      record.amount = taken.used;
      record.redeemsLeft = taken.left;
      record.isRedeem = 1;
      insertShopLog(db, record);
      if (identified) insertSettlement(db, RedeemOwed(opId, record, isReward(held), keyed ? cooldownName : FString(), lastUse, now));
      if (!db.NoQueryFailed()) {
        LogUnexpectedError("DBHelper::redeemPacket", "a query failed; nothing of the redeem was kept");
        return false;
      }
      if (!identified) return CommitOperation(transaction, "DBHelper::redeemPacket");
      const CommitOutcome outcome = CommitIdentified(db, transaction, opId, "DBHelper::redeemPacket");
      if (outcome == CommitOutcome::Unknown && unknown != nullptr) *unknown = true;
      return outcome == CommitOutcome::Committed;
    }();
    db.Finish();
    if (!redeemed) return -1;
    if (written != nullptr) *written = record;
    return PackRedeemResult(taken);
  });
}

ResetOutcome resetAllKits() { return ResetInBatches("DBHelper::resetAllKits", &resetKits); }

void storeOnJoinRewards(const TArray<OnJoinReward>& rewards, const FString& eosId) {
  if (rewards.IsEmpty()) return;
  RunRetried("DBHelper::storeOnJoinRewards", 0, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    insertOnJoinRewardPacketsForPlayer(db, eosId, rewards, now);
    db.Finish();
    return 0;
  });
}

}  // namespace DBHelper
