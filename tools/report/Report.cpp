#include "Report.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "Days.h"
#include "Sections.h"

namespace report {
namespace {

nlohmann::json Header(Database& db, const Options& options, int64_t now, const char* version) {
  nlohmann::json header = {{"version", version},
                           {"generated", TimeText(now)},
                           {"since", TimeText(options.Since)},
                           {"until", TimeText(options.Until)},
                           {"days", (options.Until - options.Since + kSecondsPerDay - 1) / kSecondsPerDay},
                           {"untilNow", options.UntilNow},
                           {"server", nullptr},
                           {"database", options.Db.Database},
                           {"tablePrefix", options.Db.TablePrefix},
                           {"host", db.HostUsed()},
                           {"serverVersion", db.ServerVersion()}};
  if (options.Server) header["server"] = *options.Server;
  return header;
}

// A section that fails is noted and the others still run.
bool Run(const ReportContext& context, const char* name, const std::function<void()>& section) {
  try {
    section();
    return true;
  } catch (const std::exception& e) {
    context.Note(std::string("the ") + name + " could not be read: " + e.what());
    return false;
  }
}

// A period that runs until now ends after the latest log row even when that row's time is ahead of this
// machine's clock (a game server's clock ahead of it, by less than the day a row's time may be ahead):
// left out, such rows would vanish from every figure and their changes would count as unexplained.
void EndAfterLatestRow(Database& db, const Schema& schema, Options& options, int64_t now, nlohmann::json& out) {
  if (!options.UntilNow) return;
  int64_t latest = 0;
  for (const Table table : {Table::ShopLog, Table::TradeLog}) {
    if (!schema.Readable(table)) continue;
    db.First("SELECT MAX(timestamp) FROM " + Quoted(options.Db.TablePrefix, table) + " WHERE timestamp>=" +
                 std::to_string(options.Until) + " AND timestamp<=" + std::to_string(now + kSecondsPerDay),
             [&](const Row& row) { latest = std::max(latest, row.IntOr(0, 0)); });
  }
  if (latest < options.Until) return;
  options.Until = latest + 1;
  out["report"]["until"] = TimeText(options.Until);
  out["report"]["days"] = (options.Until - options.Since + kSecondsPerDay - 1) / kSecondsPerDay;
  if (latest - now < 60) return;  // rows of this minute: no need to say
  out["notes"].push_back("the logs hold rows up to " + std::to_string((latest - now + 59) / 60) +
                         " minutes after this machine's clock (" + TimeText(now) +
                         "): the period runs to the latest of them");
}

}  // namespace

ReadOutcome ReadReport(Database& db, const Options& given, int64_t now, const char* version) {
  Options options = given;
  ReadOutcome outcome;
  nlohmann::json& out = outcome.Report;
  out["report"] = Header(db, options, now, version);
  out["notes"] = nlohmann::json::array();
  const auto started = std::chrono::steady_clock::now();
  Schema schema;
  try {
    schema = CheckSchema(db, options.Db.TablePrefix);
  } catch (const std::exception& e) {
    schema.Notes.push_back(std::string("the tables could not be listed: ") + e.what());
  }
  for (const std::string& note : schema.Notes) out["notes"].push_back(note);
  nlohmann::json extra = nlohmann::json::object();
  for (int i = 0; i < kTableCount; ++i)
    if (schema.Tables[i].ExtraColumns > 0)
      extra[TableName(options.Db.TablePrefix, static_cast<Table>(i))] = schema.Tables[i].ExtraColumns;
  out["report"]["extraColumns"] = extra;
  out["report"]["schemaVersion"] = schema.Version;
  try {
    EndAfterLatestRow(db, schema, options, now, out);
  } catch (const std::exception& e) {
    out["notes"].push_back(std::string("the latest log row could not be read: ") + e.what());
  }
  // A newer form may keep figures where this report does not look: what it shows may be short.
  outcome.Complete = schema.AllReadable() && schema.Version <= kKnownVersion;

  const ReportContext context{db, options, schema, now, out};
  LedgerResult ledger;
  Tally tally;
  bool fine = true;
  fine &= Run(context, "balances walk", [&] { ledger = ReadLedger(context, tally); });
  fine &= Run(context, "circulation", [&] { WriteCirculation(context, ledger); });
  fine &= Run(context, "earnings and spendings", [&] { WriteFlows(context, ledger, tally); });
  fine &= Run(context, "packets", [&] { WritePackets(context, tally); });
  fine &= Run(context, "held packets", [&] { WriteHeld(context); });
  fine &= Run(context, "players", [&] { WritePlayers(context, ledger, tally); });
  fine &= Run(context, "admin grants", [&] { WriteAdmin(context); });
  fine &= Run(context, "servers", [&] { WriteServers(context, tally); });
  fine &= Run(context, "names", [&] { WriteNames(context); });
  outcome.Complete = outcome.Complete && fine;
  for (const char* kind : {"shoplog", "tradelog"}) {
    const auto rowsOf = out.find("rows");
    if (rowsOf == out.end() || !rowsOf->is_object() || !rowsOf->contains(kind)) continue;
    const nlohmann::json& rows = (*rowsOf)[kind];
    if (rows.is_object() && rows.value("outOfRange", 0) > 0)
      context.Note(std::to_string(rows["outOfRange"].get<int64_t>()) + " rows of " + options.Db.TablePrefix + "_" +
                   kind + " hold values out of range (" +
                   (std::string(kind) == "shoplog"
                        ? "a time of 0 or in the future, a negative amount or balance, a buy that earns, a sale that "
                          "costs, no kind or two"
                        : "a time of 0 or in the future, a transfer of no points or with a negative balance after it") +
                   "); they are counted here and left out of the figures");
  }
  out["report"]["readSeconds"] =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return outcome;
}

}  // namespace report
