#include "Ledger.h"

#include <algorithm>

#include "Days.h"

namespace report {

uint32_t Ledger::Intern(std::string_view eosId) {
  if (const auto known = ids_.find(eosId); known != ids_.end()) return known->second;
  const auto [entry, added] = ids_.try_emplace(std::string(eosId), static_cast<uint32_t>(names_.size()));
  if (added) {
    names_.emplace_back(eosId);
    table_.push_back(0);
    inTable_.push_back(false);
  }
  return entry->second;
}

void Ledger::SetBalance(std::string_view eosId, int64_t points) {
  const uint32_t id = Intern(eosId);
  table_[id] = points;
  inTable_[id] = true;
}

LedgerResult Ledger::Finish(bool withTable) {
  std::stable_sort(events_.begin(), events_.end(),
                   [](const LedgerEvent& a, const LedgerEvent& b) { return a.Time < b.Time; });
  LedgerResult result;
  result.Players.resize(names_.size());
  std::vector<int64_t> known(names_.size(), 0);  // every balance starts at 0
  for (const LedgerEvent& event : events_) {
    LedgerPlayer& player = result.Players[event.Player];
    LedgerDay& day = result.Days[DayOf(event.Time)];
    int64_t& balance = known[event.Player];
    int64_t explained = event.Change;
    int64_t after = event.After;
    if (event.Kind == EventKind::AdminAdd) after = balance + event.Change;
    if (event.Kind == EventKind::AdminSet) {
      explained = event.After - balance;
      day.AdminSets += explained;
    }
    const int64_t gap = after - (balance + explained);
    player.Explained += explained;
    player.Unexplained += gap;
    ++player.Rows;
    day.Unexplained += gap;
    day.Circulation += after - balance;
    balance = after;
  }
  for (std::size_t i = 0; i < names_.size(); ++i) {
    LedgerPlayer& player = result.Players[i];
    player.EosId = names_[i];
    player.InTable = inTable_[i];
    result.LogTotal += known[i];
    if (withTable && !inTable_[i] && player.Rows > 0) ++result.PlayersNotInTable;
    if (withTable && inTable_[i]) {
      result.TableTotal += table_[i];
      if (player.Rows == 0) ++result.PlayersNeverLogged;
      const int64_t tail = table_[i] - known[i];
      player.Unexplained += tail;
      result.TailUnexplained += tail;
      player.Balance = table_[i];
    } else {
      player.Balance = known[i];
    }
  }
  return result;
}

}  // namespace report
