#pragma once
// Every player's balance walked through the logs in time order. Each log row
// that records a balance after it ("newpoints", "points_after_…") says what the
// balance was; the row's own change says how much of the step it explains. What
// lies between the balance before the row plus the row's change and the balance
// the row records is a change no log row explains (timed rewards, grants by
// other plugins, admin grants without a log text, a reset of all points). The
// balances table closes the walk: what it holds beyond the last row is
// unexplained as well. Pure logic: no database.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace report {

enum class EventKind : uint8_t { Purchase, Sale, Redeem, TradeOut, TradeIn, AdminAdd, AdminSet };

struct LedgerEvent {
  int64_t Time = 0;
  int64_t Change = 0;  // AdminSet: unused (the step to After is the change)
  int64_t After = 0;   // the balance the row records; AdminAdd: unused
  uint32_t Player = 0;
  EventKind Kind = EventKind::Purchase;
};

struct LedgerDay {
  int64_t Circulation = 0;  // the day's change of the sum of balances
  int64_t Unexplained = 0;  // positive and negative steps no row explains, summed
  int64_t AdminSets = 0;    // what admin SetPoints changed
};

struct LedgerPlayer {
  std::string EosId;
  int64_t Balance = 0;      // from the balances table (or the last row when the period ends in the past)
  int64_t Explained = 0;    // what the rows explain, summed
  int64_t Unexplained = 0;  // the rest: Balance = Explained + Unexplained
  int64_t Rows = 0;
  bool InTable = false;
};

struct LedgerResult {
  std::map<int64_t, LedgerDay> Days;  // only days with a row
  std::vector<LedgerPlayer> Players;
  int64_t TailUnexplained = 0;  // balances table minus the last rows, all players
  int64_t TableTotal = 0;       // sum of the balances table
  int64_t LogTotal = 0;         // sum of the balances the last rows recorded
  int64_t PlayersNeverLogged = 0;
  int64_t PlayersNotInTable = 0;
};

// Looks strings up by a view, without a copy per lookup.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};

class Ledger {
 public:
  uint32_t Intern(std::string_view eosId);
  void Add(const LedgerEvent& event) { events_.push_back(event); }
  // A row of the balances table.
  void SetBalance(std::string_view eosId, int64_t points);
  std::size_t EventCount() const { return events_.size(); }
  // Walks the events in time order (rows of one second keep the order they were added in).
  // withTable: the balances table is the walk's end (the period ends now).
  LedgerResult Finish(bool withTable);

 private:
  std::unordered_map<std::string, uint32_t, TextHash, std::equal_to<>> ids_;
  std::vector<std::string> names_;
  std::vector<int64_t> table_;
  std::vector<bool> inTable_;
  std::vector<LedgerEvent> events_;
};

}  // namespace report
