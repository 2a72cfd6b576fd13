#include <map>
#include <set>

#include "Days.h"
#include "Sections.h"

namespace report {
namespace {

constexpr std::size_t kListed = 25;  // items sold and packets redeemed

const CataloguePacket* InCatalogue(const ReportContext& context, const std::string& name) {
  for (const CataloguePacket& packet : context.Opts.Catalogue)
    if (packet.Name == name) return &packet;
  return nullptr;
}

nlohmann::json Bought(const ReportContext& context, const Tally& tally, std::set<std::string>& names) {
  nlohmann::json list = nlohmann::json::array();
  for (const auto& [name, sums] : tally.Bought()) {
    names.insert(name);
    nlohmann::json packet = {{"packet", name},         {"buys", sums.Rows},
                             {"units", sums.Units},     {"points", sums.Points},
                             {"lastBought", TimeText(sums.Last)}, {"buyers", sums.Players}};
    if (const CataloguePacket* known = InCatalogue(context, name)) packet["cooldownHours"] = known->CooldownHours;
    list.push_back(packet);
  }
  return list;
}

// Catalogue packets and packets bought before the period that nobody bought in it.
nlohmann::json Unbought(const ReportContext& context, const Tally& tally, const std::set<std::string>& bought) {
  std::map<std::string, nlohmann::json> unbought;
  for (const CataloguePacket& packet : context.Opts.Catalogue)
    if (!bought.count(packet.Name))
      unbought[packet.Name] = {{"packet", packet.Name}, {"lastBought", nullptr}, {"price", packet.Price},
                               {"cooldownHours", packet.CooldownHours}};
  for (const auto& [name, last] : tally.LastBuys()) {
    if (bought.count(name)) continue;
    nlohmann::json& entry = unbought[name];
    entry["packet"] = name;
    entry["lastBought"] = TimeText(last);
  }
  nlohmann::json list = nlohmann::json::array();
  for (auto& [name, entry] : unbought) list.push_back(entry);
  return list;
}

nlohmann::json Grouped(const std::vector<std::pair<std::string, GroupSums>>& groups) {
  nlohmann::json list = nlohmann::json::array();
  for (const auto& [name, sums] : groups)
    list.push_back({{"name", name}, {"rows", sums.Rows}, {"units", sums.Units}, {"points", sums.Points},
                    {"players", sums.Players}});
  return list;
}

}  // namespace

void WritePackets(const ReportContext& context, const Tally& tally) {
  nlohmann::json& out = context.Out["packets"];
  out = {{"bought", nlohmann::json::array()}, {"unbought", nlohmann::json::array()},
         {"sold", nlohmann::json::array()},   {"redeemed", nlohmann::json::array()},
         {"catalogue", context.Opts.HaveConfig}};
  if (!context.Readable(Table::ShopLog)) return;
  std::set<std::string> names;
  out["bought"] = Bought(context, tally, names);
  out["unbought"] = Unbought(context, tally, names);
  out["sold"] = Grouped(tally.Sold(kListed));
  out["redeemed"] = Grouped(tally.Redeemed(kListed));
}

}  // namespace report
