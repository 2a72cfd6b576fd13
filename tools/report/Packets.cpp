#include <map>
#include <set>

#include "Days.h"
#include "Sections.h"

namespace report {
namespace {

std::string ServerFilter(const ReportContext& context) {
  return context.Opts.Server ? " AND serverid=" + std::to_string(*context.Opts.Server) : "";
}

const CataloguePacket* InCatalogue(const ReportContext& context, const std::string& name) {
  for (const CataloguePacket& packet : context.Opts.Catalogue)
    if (packet.Name == name) return &packet;
  return nullptr;
}

nlohmann::json Bought(const ReportContext& context, std::set<std::string>& names) {
  nlohmann::json list = nlohmann::json::array();
  context.Db.Stream(std::string("SELECT ") + kPacketName +
                        " AS name,COUNT(*),SUM(amount),SUM(-points_change),MAX(timestamp),COUNT(DISTINCT eosId) FROM " +
                        context.Table(Table::ShopLog) + " WHERE " + context.Window() + " AND " + context.ShopValid() +
                        " AND isBuy<>0 GROUP BY name ORDER BY 4 DESC,2 DESC,name",
                    [&](const Row& row) {
                      const std::string name(row.Text(0));
                      names.insert(name);
                      nlohmann::json packet = {{"packet", name},
                                               {"buys", row.IntOr(1, 0)},
                                               {"units", row.IntOr(2, 0)},
                                               {"points", row.IntOr(3, 0)},
                                               {"lastBought", TimeText(row.IntOr(4, 0))},
                                               {"buyers", row.IntOr(5, 0)}};
                      if (const CataloguePacket* known = InCatalogue(context, name))
                        packet["cooldownHours"] = known->CooldownHours;
                      list.push_back(packet);
                    });
  return list;
}

// Catalogue packets and packets bought before the period that nobody bought in it.
nlohmann::json Unbought(const ReportContext& context, const std::set<std::string>& bought) {
  std::map<std::string, nlohmann::json> unbought;
  for (const CataloguePacket& packet : context.Opts.Catalogue)
    if (!bought.count(packet.Name))
      unbought[packet.Name] = {{"packet", packet.Name}, {"lastBought", nullptr}, {"price", packet.Price},
                               {"cooldownHours", packet.CooldownHours}};
  context.Db.Stream(std::string("SELECT ") + kPacketName + " AS name,MAX(timestamp) FROM " +
                        context.Table(Table::ShopLog) + " WHERE " + context.UpToUntil() + ServerFilter(context) +
                        " AND " + context.ShopValid() + " AND isBuy<>0 GROUP BY name",
                    [&](const Row& row) {
                      const std::string name(row.Text(0));
                      if (bought.count(name)) return;
                      nlohmann::json& entry = unbought[name];
                      entry["packet"] = name;
                      entry["lastBought"] = TimeText(row.IntOr(1, 0));
                    });
  nlohmann::json list = nlohmann::json::array();
  for (auto& [name, entry] : unbought) list.push_back(entry);
  return list;
}

nlohmann::json Grouped(const ReportContext& context, const std::string& kind, const std::string& name,
                       const std::string& points) {
  nlohmann::json list = nlohmann::json::array();
  context.Db.Stream("SELECT " + name + " AS name,COUNT(*),SUM(amount),SUM(" + points + "),COUNT(DISTINCT eosId) FROM " +
                        context.Table(Table::ShopLog) + " WHERE " + context.Window() + " AND " + context.ShopValid() +
                        " AND " + kind + "<>0 GROUP BY name ORDER BY 3 DESC,name LIMIT 25",
                    [&](const Row& row) {
                      list.push_back({{"name", row.Text(0)},
                                      {"rows", row.IntOr(1, 0)},
                                      {"units", row.IntOr(2, 0)},
                                      {"points", row.IntOr(3, 0)},
                                      {"players", row.IntOr(4, 0)}});
                    });
  return list;
}

}  // namespace

void WritePackets(const ReportContext& context) {
  nlohmann::json& out = context.Out["packets"];
  out = {{"bought", nlohmann::json::array()}, {"unbought", nlohmann::json::array()},
         {"sold", nlohmann::json::array()},   {"redeemed", nlohmann::json::array()},
         {"catalogue", context.Opts.HaveConfig}};
  if (!context.Readable(Table::ShopLog)) return;
  std::set<std::string> names;
  out["bought"] = Bought(context, names);
  out["unbought"] = Unbought(context, names);
  out["sold"] = Grouped(context, "isSell", "packet", "points_change");
  out["redeemed"] = Grouped(context, "isRedeem", kPacketName, "0");
}

}  // namespace report
