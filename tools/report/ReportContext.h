#pragma once
// What every section reads with: the connection, the options, the tables that
// can be read, the SQL pieces that select the period and the rows in range, and
// the report being filled.
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "Options.h"
#include "ReportDatabase.h"
#include "TableCheck.h"

namespace report {

struct ReportContext {
  Database& Db;
  const Options& Opts;
  const Schema& Tables;
  int64_t Now = 0;
  nlohmann::json& Out;

  std::string Table(report::Table table) const { return Quoted(Opts.Db.TablePrefix, table); }
  bool Readable(report::Table table) const { return Tables.Readable(table); }
  void Note(const std::string& line) const { Out["notes"].push_back(line); }

  // The period (and the server, when one was chosen) for a log table.
  std::string Window() const;
  // Times up to the end of the period, all servers (for the balances walk).
  std::string UpToUntil() const;
  // A shop log row whose values are in range: a time not in the future, one kind,
  // no negative amount or balance, a buy that costs, a sale that earns, a redeem free.
  std::string ShopValid() const;
  // A trade log row in range: a transfer between two players of a positive amount
  // with both balances recorded, or an admin's row.
  std::string TradeValid() const;
};

// The name of a packet in a packet string: what comes before the first "," or ";".
inline constexpr const char* kPacketName = "SUBSTRING_INDEX(SUBSTRING_INDEX(packet,';',1),',',1)";
inline constexpr const char* kAdminRow = "eosid_from IN ('admin addpoints','admin setpoints')";

}  // namespace report
