// Moving points from one player to another, with its trade log row, as one transaction.
#include <fmt/format.h>

#include "core/Clock.h"
#include "core/GameInfo.h"
#include "core/Log.h"
#include "core/TextConversion.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/OperationIds.h"
#include "db/QueryFrame.h"
#include "db/Transaction.h"

namespace DBHelper {
namespace {

bool SameEosId(std::string_view a, std::string_view b) {
  return CompareIgnoreCase(Utf8ToUtf16(a), Utf8ToUtf16(b)) == 0;
}

struct TradePartners {
  int64_t senderPoints = -1;  // -1: no row
  bool receiverKnown = false;
  int64_t receiverPoints = 0;
};

TradePartners LockPartners(DBConnection& db, const std::string& senderId, const std::string& receiverId) {
  TradePartners partners;
  mysql::result rows = db.Connection().query(
      BuildStatement(db, Sql::lockTradePartners, db.Escape(senderId), db.Escape(receiverId)));
  for (const mysql::row_view row : rows) {
    int64_t points = 0;
    row.get(1, points);
    if (SameEosId(row.text(0), senderId)) partners.senderPoints = points;
    if (SameEosId(row.text(0), receiverId)) {
      partners.receiverKnown = true;
      partners.receiverPoints = points;
    }
  }
  return partners;
}

// One attempt; throws what the server reports (the transaction is then rolled back).
int32_t TryTrade(DBConnection& db, TradeLogRecord& record, int32_t amount, const std::string& opId) {
  const std::string senderId = ToNarrow(record.eosIdFrom);
  const std::string receiverId = ToNarrow(record.eosIdTo);
  Transaction transaction(db);
  const TradePartners partners = LockPartners(db, senderId, receiverId);
  if (partners.senderPoints < amount) return kTradeTooFewPoints;
  if (!partners.receiverKnown) return kTradeUnknownRecipient;

  // Both rows are locked and known: the writes go out with the commit, in one round trip.
  db.Later("DBHelper::addPlayerPoints",
           BuildStatement(db, Sql::addPlayerPoints, -amount, record.timestamp, db.Escape(senderId)));
  db.Later("DBHelper::addPlayerPoints",
           BuildStatement(db, Sql::addPlayerPoints, amount, record.timestamp, db.Escape(receiverId)));
  const bool toSelf = SameEosId(senderId, receiverId);
  record.pointsAfterFrom = toSelf ? partners.senderPoints : partners.senderPoints - amount;
  record.pointsAfterTo = toSelf ? partners.receiverPoints : partners.receiverPoints + amount;
  db.Later("DBHelper::insertTradeLog", TradeLogStatement(db, record));
  RecordOperation(db, opId, record.eosIdFrom, "trade");
  transaction.Commit();
  return kTradeDone;
}

}  // namespace

int32_t tradePoints(const FString& senderId, const FString& senderName, const FString& receiverId,
                    const FString& receiverName, int32_t amount, TradeLogRecord* written) {
  if (amount < 1) return kTradeTooFewPoints;  // a negative amount would take from the recipient
  const std::string opId = NewOperationId();  // one id for every try
  bool answered = false;
  const int32_t result = RunRetried("DBHelper::tradePoints", kTradeTooFewPoints, [&] {
    answered = false;
    TradeLogRecord record;
    record.eosIdFrom = senderId;
    record.eosIdTo = receiverId;
    record.fromName = senderName;
    record.toName = receiverName;
    record.timestamp = TandorShop::Clock::NowUnix();
    record.serverid = TandorShop::GameInfo::ServerId();
    record.amount = amount;

    DBConnection db(Settings());
    if (!db.IsOpen()) return kTradeTooFewPoints;
    int32_t code = kTradeTooFewPoints;
    try {
      code = TryTrade(db, record, amount, opId);
      answered = true;
    } catch (const mysql::commit_unknown& error) {
      // The commit may have gone through: its id says whether it did (and a
      // trade that did not is run again by the frame).
      LogUnexpectedError(error.statement().empty() ? "DBHelper::tradePoints" : error.statement(), error.what());
      const std::optional<bool> committed = OperationCommitted(db.Settings(), opId);
      if (committed) {
        TandorShop::Log().warn("DBHelper::tradePoints: the answer to its commit was lost; operation {} {}", opId,
                               *committed ? "did commit" : "did not commit");
        if (*committed) {
          answered = true;
          code = kTradeDone;
        } else {
          NoteCommitNotKept();
        }
      }
    }
    db.Finish();
    if (code == kTradeDone && written != nullptr) *written = record;
    return code;
  });
  if (!answered)
    LogLostWrite("DBHelper::tradePoints", ToNarrow(senderId),
                 fmt::format("{} points not sent to eosId {}", amount, ToNarrow(receiverId)));
  return result;
}

}  // namespace DBHelper
