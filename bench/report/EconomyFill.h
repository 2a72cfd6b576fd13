#pragma once
// Fills a set of shop tables with a made-up economy, in SQL on the server (the
// Sequence engine gives the row numbers), quickly enough for a year of logs:
// players with characters and balances, purchases, sales and redeems on three
// servers, trades, admin grants with log texts, held packets of every age, and
// timed rewards that no log row records (so the balances rise between rows).
// Shared by the report's tests and its benchmark.
#include <cstdint>
#include <string>
#include <vector>

namespace economyfill {

struct Size {
  int64_t Players = 200;
  int64_t ShopRows = 5000;
  int64_t TradeRows = 1000;
  int64_t GrantRows = 40;
  int64_t Days = 60;  // the logs end at Now and reach this many days back
  int64_t Now = 0;
  int Version = 2;  // 1: the tables before they had keys, indexes and a schema table
};

// The packets the purchases name (the example shop's), in the order the fill uses them.
const std::vector<std::string>& PacketNames();

// The statements, in order: the tables as the plugin of that version creates them, then the rows.
std::vector<std::string> Statements(const std::string& prefix, const Size& size);

}  // namespace economyfill
