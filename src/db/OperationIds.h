#pragma once
// Operation ids: every operation that changes points or held units writes its id
// in its own transaction, under a unique key, so that after a COMMIT whose answer
// was lost the id can be looked up instead of the outcome guessed, and a retry can
// never apply the operation twice.
#include <optional>
#include <string>
#include <string_view>

#include "AsaApi/FString.h"
#include "db/DBConnection.h"
#include "db/DBHelper.h"
#include "db/Transaction.h"

namespace DBHelper {

// Queues the id's row with the transaction's other statements.
void RecordOperation(DBConnection& db, const std::string& opId, const FString& eosId, std::string_view kind);
// The same, written only when the player has a points row (an operation on a
// player's row that matched nothing leaves no id behind).
void RecordOperationOnPlayer(DBConnection& db, const std::string& opId, const FString& eosId, std::string_view kind);

// Commits the transaction. When a statement sent with the commit failed, nothing
// was kept (logged as CommitOperation does). When the connection was lost after
// the COMMIT went out, the id is looked up on a new connection: Unknown only when
// that could not be done either.
CommitOutcome CommitIdentified(DBConnection& db, Transaction& transaction, const std::string& opId,
                               std::string_view qualifiedName);

// Whether the id committed; nullopt when the database could not be asked.
std::optional<bool> OperationCommitted(const DBSettings& settings, const std::string& opId);

// True when the error is a lost answer to a commit: the server may have kept it.
bool CommitAnswerLost(const mysql::mysql_exception& error);

// Ids older than this are deleted, off the hot path (a retry never waits that long).
inline constexpr int64_t kOperationIdLifetimeSeconds = 24 * 3600;

}  // namespace DBHelper
