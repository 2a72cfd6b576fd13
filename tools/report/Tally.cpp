#include "Tally.h"

#include <algorithm>
#include <functional>

#include "Days.h"

namespace report {

std::string_view PacketName(std::string_view packet) { return packet.substr(0, packet.find_first_of(",;")); }

std::size_t Tally::SaleKeyHash::operator()(const SaleKey& key) const {
  return std::hash<uint64_t>()((uint64_t(key.Player) << 32 | key.Item) ^ (uint64_t(key.Day) * 0x9E3779B97F4A7C15ull));
}

void Tally::AddTo(Groups& groups, std::string_view name, const ShopRow& row, int64_t points) {
  auto at = groups.find(name);
  if (at == groups.end()) at = groups.emplace(std::string(name), Group()).first;
  Group& group = at->second;
  ++group.Sums.Rows;
  group.Sums.Units += row.Amount;
  group.Sums.Points += points;
  group.Sums.Last = std::max(group.Sums.Last, row.Time);
  if (row.HasPlayer) group.Players.insert(row.Player);
}

PlayerSums& Tally::Player(uint32_t id) {
  if (id >= players_.size()) players_.resize(id + 1);
  return players_[id];
}

uint32_t Tally::Item(std::string_view item) {
  if (const auto known = itemIds_.find(item); known != itemIds_.end()) return known->second;
  itemIds_.emplace(std::string(item), static_cast<uint32_t>(items_.size()));
  items_.emplace_back(item);
  return static_cast<uint32_t>(items_.size() - 1);
}

void Tally::AddShop(const ShopRow& row) {
  ShopDay& day = days_[row.Time / kSecondsPerDay];
  ServerGroup& server = servers_[row.Server.value_or(0)];
  if (row.HasPlayer) server.Players.insert(row.Player);
  KindSums* sums[2] = {nullptr, nullptr};
  int64_t points = 0;
  switch (row.Kind) {
    case ShopKind::Buy:
      sums[0] = &day.Buys, sums[1] = &server.Sums.Buys, points = -row.Change;
      AddTo(bought_, PacketName(row.Packet), row, points);
      if (row.HasPlayer) {
        Player(row.Player).Purchases += points;
        Player(row.Player).Spent = true;
      }
      break;
    case ShopKind::Sell: {
      sums[0] = &day.Sales, sums[1] = &server.Sums.Sales, points = row.Change;
      AddTo(sold_, row.Packet, row, points);
      if (!row.HasPlayer) break;
      Player(row.Player).Sales += points;
      Player(row.Player).Earned = true;
      GroupSums& sale = sales_[SaleKey{row.Player, Item(row.Packet), row.Time / kSecondsPerDay}];
      ++sale.Rows, sale.Units += row.Amount, sale.Points += points;
      break;
    }
    case ShopKind::Redeem:
      sums[0] = &day.Redeems, sums[1] = &server.Sums.Redeems;
      AddTo(redeemed_, PacketName(row.Packet), row, 0);
      break;
  }
  for (KindSums* kind : sums) ++kind->Rows, kind->Units += row.Amount, kind->Points += points;
}

void Tally::NoteBuy(std::string_view name, int64_t time) {
  if (const auto known = lastBuy_.find(name); known != lastBuy_.end())
    known->second = std::max(known->second, time);
  else
    lastBuy_.emplace(std::string(name), time);
}

void Tally::AddTrade(const TradeRow& row) {
  for (TradeSums* sums : {&tradeDays_[row.Time / kSecondsPerDay], &tradeServers_[row.Server.value_or(0)]}) {
    if (row.AdminAdd) {
      ++sums->GrantRows;
      sums->Grants += row.Amount;
    } else if (row.AdminSet) {
      ++sums->SetRows;
    } else {
      ++sums->Trades;
      sums->Volume += row.Amount;
    }
  }
  if (row.AdminSet) return;
  PlayerSums& receiver = Player(row.To);
  if (row.AdminAdd) {
    if (row.Amount <= 0) return;
    receiver.Grants += row.Amount;
    receiver.Earned = true;
    return;
  }
  receiver.TradesIn += row.Amount;
  receiver.Earned = true;
  if (!row.From) return;
  PlayerSums& sender = Player(*row.From);
  sender.TradesOut += row.Amount;
  sender.Spent = true;
}

std::vector<std::pair<std::string, GroupSums>> Tally::Bought() const {
  std::vector<std::pair<std::string, GroupSums>> list;
  for (const auto& [name, group] : bought_) {
    list.emplace_back(name, group.Sums);
    list.back().second.Players = static_cast<int64_t>(group.Players.size());
  }
  std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
    return a.second.Points != b.second.Points ? a.second.Points > b.second.Points : a.second.Rows > b.second.Rows;
  });
  return list;
}

std::vector<std::pair<std::string, GroupSums>> Tally::ByUnits(const Groups& groups,
                                                              std::size_t limit) {
  std::vector<std::pair<std::string, GroupSums>> list;
  for (const auto& [name, group] : groups) {
    list.emplace_back(name, group.Sums);
    list.back().second.Players = static_cast<int64_t>(group.Players.size());
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const auto& a, const auto& b) { return a.second.Units > b.second.Units; });
  if (list.size() > limit) list.resize(limit);
  return list;
}

std::vector<std::pair<std::string, GroupSums>> Tally::Sold(std::size_t limit) const { return ByUnits(sold_, limit); }

std::vector<std::pair<std::string, GroupSums>> Tally::Redeemed(std::size_t limit) const {
  return ByUnits(redeemed_, limit);
}

std::map<int64_t, ServerSums> Tally::Servers() const {
  std::map<int64_t, ServerSums> servers;
  for (const auto& [id, group] : servers_) {
    servers[id] = group.Sums;
    servers[id].Players = static_cast<int64_t>(group.Players.size());
  }
  return servers;
}

std::vector<RepeatedSale> Tally::RepeatedSales(std::size_t limit, const std::vector<std::string>& ids) const {
  std::vector<RepeatedSale> list;
  list.reserve(sales_.size());
  for (const auto& [key, sums] : sales_)
    list.push_back({key.Player, items_[key.Item], key.Day, sums.Rows, sums.Units, sums.Points});
  auto id = [&](uint32_t player) -> const std::string& {
    static const std::string kNone;
    return player < ids.size() ? ids[player] : kNone;
  };
  auto before = [&](const RepeatedSale& a, const RepeatedSale& b) {
    if (a.Sales != b.Sales) return a.Sales > b.Sales;
    if (a.Player != b.Player) return id(a.Player) < id(b.Player);
    if (a.Item != b.Item) return a.Item < b.Item;
    return a.Day < b.Day;
  };
  const std::size_t n = std::min(limit, list.size());
  std::partial_sort(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(n), list.end(), before);
  list.resize(n);
  return list;
}

}  // namespace report
