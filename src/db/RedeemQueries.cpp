// Queries on the held-packet (redeem) table.
#include <string>

#include "core/TextConversion.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {

constexpr int kRewardsPerStatement = 100;

int32_t ReadHeldAmount(DBConnection& db, Sql statement, const FString& eosId, const FString& packet) {
  mysql::result rows = db.Connection().query(
      BuildStatement(db, statement, db.Escape(ToNarrow(eosId)), db.Escape(ToUtf8(packet))));
  int32_t amount = -1;
  if (rows.has_rows()) rows[0].get(0, amount);
  return amount;
}

// Ends the statement collected so far and sends it.
void SendRewardBatch(DBConnection& db, std::string& statement) {
  statement.pop_back();  // the last tuple's comma
  statement += StatementText(Sql::insertOnJoinRewardPacketsTail);
  statement += ';';
  db.Connection().exec(statement);
}

}  // namespace

bool selectRedeemPacketsForPlayer(DBConnection& db, const FString& eosId, ArkTandor_AsyncTaskResults& results) {
  return RunQuery(db, "DBHelper::selectRedeemPacketsForPlayer", false, [&] {
    mysql::result rows =
        db.Connection().query(BuildStatement(db, Sql::selectRedeemPacketsForPlayer, db.Escape(ToNarrow(eosId))));
    TArray<int32_t> amounts;
    for (const mysql::row_view row : rows) {
      results.Texts.Add(FromDatabase(row.text(0)));
      uint32_t amount = 0;
      row.get(1, amount);
      amounts.Add(static_cast<int32_t>(amount));
    }
    results.Lists.Add(std::move(amounts));
    return true;
  });
}

// The packet string is matched in UTF-8, the form in which it is stored.
int32_t getRedeemPacketAmount(DBConnection& db, const FString& eosId, const FString& packet) {
  return RunQuery(db, "DBHelper::getRedeemPacketAmount", int32_t{-1},
                  [&] { return ReadHeldAmount(db, Sql::getRedeemPacketAmount, eosId, packet); });
}

int32_t lockRedeemPacketAmount(DBConnection& db, const FString& eosId, const FString& packet) {
  return RunQuery(db, "DBHelper::getRedeemPacketAmount", int32_t{-1},
                  [&] { return ReadHeldAmount(db, Sql::lockRedeemPacketAmount, eosId, packet); });
}

LaterOutcome lockRedeemPacketAmountLater(DBConnection& db, const FString& eosId, const FString& packet) {
  return RunQuery(db, "DBHelper::getRedeemPacketAmount", LaterOutcome{}, [&] {
    return db.Later("DBHelper::getRedeemPacketAmount",
                    BuildStatement(db, Sql::lockRedeemPacketAmount, db.Escape(ToNarrow(eosId)),
                                   db.Escape(ToUtf8(packet))));
  });
}

bool updateRedeemPacketAddAmount(DBConnection& db, const FString& eosId, const FString& packet, int32_t amount,
                                 int64_t now, bool isReward) {
  return RunQuery(db, "DBHelper::updateRedeemPacketAddAmount", false, [&] {
    db.Later("DBHelper::updateRedeemPacketAddAmount",
             BuildStatement(db, Sql::updateRedeemPacketAddAmount, db.Escape(ToNarrow(eosId)),
                            db.Escape(ToUtf8(packet)), amount, now, isReward, amount, now));
    return true;
  });
}

bool updateExistingRedeemPacketSetAmount(DBConnection& db, int32_t amount, int64_t now, const FString& eosId,
                                         const FString& packet) {
  return RunQuery(db, "DBHelper::updateExistingRedeemPacketSetAmount", false, [&] {
    db.Later("DBHelper::updateExistingRedeemPacketSetAmount",
             BuildStatement(db, Sql::updateExistingRedeemPacketSetAmount, amount, now, db.Escape(ToNarrow(eosId)),
                            db.Escape(ToUtf8(packet))));
    return true;
  });
}

bool deleteRedeemPacket(DBConnection& db, const FString& eosId, const FString& packet) {
  return RunQuery(db, "DBHelper::deleteRedeemPacket", false, [&] {
    db.Later("DBHelper::deleteRedeemPacket",
             BuildStatement(db, Sql::deleteRedeemPacket, db.Escape(ToNarrow(eosId)), db.Escape(ToUtf8(packet))));
    return true;
  });
}

bool emptyRedeemPacket(DBConnection& db, const FString& eosId, const FString& packet, int64_t now) {
  return RunQuery(db, "DBHelper::deleteRedeemPacket", false, [&] {
    const std::string eos = db.Escape(ToNarrow(eosId));
    const std::string key = db.Escape(ToUtf8(packet));
    db.Later("DBHelper::deleteRedeemPacket", BuildStatement(db, Sql::deleteEmptiedRedeemPacket, eos, key));
    db.Later("DBHelper::updateExistingRedeemPacketSetAmount",
             BuildStatement(db, Sql::zeroEmptiedRewardPacket, now, eos, key));
    return true;
  });
}

std::optional<uint64_t> resetKits(DBConnection& db, int batchRows) {
  return RunQuery(db, "DBHelper::resetKits", std::optional<uint64_t>{}, [&] {
    return std::optional<uint64_t>{db.Connection().exec(BuildStatement(db, Sql::resetKits, batchRows))};
  });
}

int insertOnJoinRewardPacketsForPlayer(DBConnection& db, const FString& eosId, const TArray<OnJoinReward>& rewards,
                                       int64_t now) {
  if (rewards.IsEmpty()) return 0;
  int sent = 0;
  RunQuery(db, "DBHelper::insertOnJoinRewardPacketsForPlayer", false, [&] {
    const std::string id = db.Escape(ToNarrow(eosId));
    const std::string head = BuildStatement(db, Sql::insertOnJoinRewardPacketsHead);
    std::string statement = head;
    int inBatch = 0;
    for (const OnJoinReward& reward : rewards) {
      const std::string packet = db.Escape(ToUtf8(reward.Name) + ",1");
      statement += fmt::format(fmt::runtime(StatementText(Sql::insertOnJoinRewardPacketsTuple)), id, packet,
                               reward.Amount, now);
      if (++inBatch == kRewardsPerStatement) {
        SendRewardBatch(db, statement);
        ++sent;
        statement = head;
        inBatch = 0;
      }
    }
    if (inBatch > 0) {
      SendRewardBatch(db, statement);
      ++sent;
    }
    return true;
  });
  return sent;
}

}  // namespace DBHelper
