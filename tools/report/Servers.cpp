#include <map>
#include <set>

#include "Sections.h"

namespace report {

void WriteServers(const ReportContext& context, const Tally& tally) {
  std::map<int64_t, nlohmann::json> servers;
  auto server = [&](int64_t id) -> nlohmann::json& {
    nlohmann::json& entry = servers[id];
    if (entry.is_null())
      entry = {{"server", id}, {"purchases", 0}, {"purchaseCount", 0}, {"sales", 0}, {"saleCount", 0},
               {"redeems", 0}, {"players", 0}, {"trades", 0}, {"tradeVolume", 0}, {"adminGrants", 0},
               {"adminRows", 0}};
    return entry;
  };
  if (context.Readable(Table::ShopLog))
    for (const auto& [id, sums] : tally.Servers()) {
      nlohmann::json& entry = server(id);
      entry["purchases"] = sums.Buys.Points;
      entry["purchaseCount"] = sums.Buys.Rows;
      entry["sales"] = sums.Sales.Points;
      entry["saleCount"] = sums.Sales.Rows;
      entry["redeems"] = sums.Redeems.Rows;
      entry["players"] = sums.Players;
    }
  if (context.Readable(Table::TradeLog))
    for (const auto& [id, sums] : tally.TradeServers()) {
      nlohmann::json& entry = server(id);
      entry["trades"] = sums.Trades;
      entry["tradeVolume"] = sums.Volume;
      entry["adminGrants"] = sums.Grants;
      entry["adminRows"] = sums.GrantRows + sums.SetRows;
    }
  nlohmann::json list = nlohmann::json::array();
  for (auto& [id, entry] : servers) list.push_back(entry);
  context.Out["servers"] = list;
}

// Every EOS id the report lists gets the name of the character last seen.
void WriteNames(const ReportContext& context) {
  std::set<std::string> ids;
  const nlohmann::json& out = context.Out;
  for (const char* section : {"players", "admin"})
    if (out.contains(section))
      for (const auto& [key, list] : out[section].items())
        if (list.is_array())
          for (const nlohmann::json& entry : list)
            if (entry.is_object() && entry.contains("eosId")) ids.insert(entry["eosId"].get<std::string>());
  nlohmann::json names = nlohmann::json::object();
  if (ids.empty() || !context.Readable(Table::Chars)) {
    context.Out["names"] = names;
    return;
  }
  std::string list;
  for (const std::string& id : ids) list += (list.empty() ? "'" : ",'") + context.Db.Escape(id) + "'";
  context.Db.Stream("SELECT eosId,charName FROM " + context.Table(Table::Chars) + " WHERE eosId IN (" + list +
                        ") ORDER BY lastLogin",
                    [&](const Row& row) { names[std::string(row.Text(0))] = row.Text(1); });
  context.Out["names"] = names;
}

}  // namespace report
