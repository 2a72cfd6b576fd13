// Resets of every row (points, held packets) as a series of small transactions.
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {

ResetOutcome ResetInBatches(std::string_view qualifiedName, ResetBatch batch) {
  ResetOutcome outcome;
  RunOperation(qualifiedName, 0, [&] {
    DBConnection db(Settings());
    while (db.IsOpen()) {
      const std::optional<uint64_t> changed = batch(db, kResetBatchRows);
      if (!changed) break;
      outcome.rows += *changed;
      if (*changed < static_cast<uint64_t>(kResetBatchRows)) {
        outcome.complete = true;
        break;
      }
    }
    db.Finish();
    return 0;
  });
  return outcome;
}

}  // namespace DBHelper
