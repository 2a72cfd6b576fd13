#include <algorithm>
#include <cstdlib>

#include "Days.h"
#include "Sections.h"

namespace report {

void WriteAdmin(const ReportContext& context) {
  nlohmann::json& out = context.Out["admin"];
  out = {{"latest", nlohmann::json::array()}, {"unusual", nlohmann::json::array()}};
  if (!context.Readable(Table::TradeLog)) return;
  struct Grant {
    nlohmann::json Row;
    int64_t Amount;
    bool Add;
  };
  std::vector<Grant> grants;
  int64_t added = 0, addCount = 0, setCount = 0;
  context.Db.Stream(std::string("SELECT timestamp,eosid_from,eosid_to,from_name,amount,serverid FROM ") +
                        context.Table(Table::TradeLog) + " WHERE " + context.Window() + " AND " + kAdminRow + " AND " +
                        context.TradeValid() + " ORDER BY timestamp DESC",
                    [&](const Row& row) {
                      const bool add = row.Text(1) == "admin addpoints";
                      const int64_t amount = row.IntOr(4, 0);
                      (add ? addCount : setCount)++;
                      if (add) added += amount;
                      grants.push_back({{{"time", TimeText(row.IntOr(0, 0))},
                                         {"kind", add ? "AddPoints" : "SetPoints"},
                                         {"eosId", row.Text(2)},
                                         {"amount", amount},
                                         {"text", row.Text(3)},
                                         {"server", row.IntOr(5, 0)}},
                                        amount,
                                        add});
                    });
  out["addCount"] = addCount;
  out["addPoints"] = added;
  out["setCount"] = setCount;
  for (std::size_t i = 0; i < grants.size() && i < 200; ++i) out["latest"].push_back(grants[i].Row);
  // Out of the ordinary: a grant of more than ten times the median grant's size.
  std::vector<int64_t> sizes;
  for (const Grant& grant : grants)
    if (grant.Add) sizes.push_back(std::llabs(grant.Amount));
  if (sizes.empty()) return;
  std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
  const int64_t median = sizes[sizes.size() / 2];
  out["medianGrant"] = median;
  for (const Grant& grant : grants)
    if (grant.Add && std::llabs(grant.Amount) > 10 * std::max<int64_t>(median, 1) && out["unusual"].size() < 50)
      out["unusual"].push_back(grant.Row);
}

}  // namespace report
