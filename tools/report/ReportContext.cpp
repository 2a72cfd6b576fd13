#include "ReportContext.h"

#include "Days.h"

namespace report {

std::string ReportContext::Window() const {
  std::string sql = "timestamp>=" + std::to_string(Opts.Since) + " AND timestamp<" + std::to_string(Opts.Until);
  if (Opts.Server) sql += " AND serverid=" + std::to_string(*Opts.Server);
  return sql;
}

std::string ReportContext::UpToUntil() const { return "timestamp<" + std::to_string(Opts.Until); }

std::string ReportContext::ShopValid() const {
  return "IFNULL(timestamp>0 AND timestamp<=" + std::to_string(Now + kSecondsPerDay) +
         " AND amount>=0 AND newpoints>=0 AND (isBuy<>0)+(isSell<>0)+(isRedeem<>0)=1 AND (isBuy=0 OR "
         "points_change<=0) AND (isSell=0 OR points_change>=0) AND (isRedeem=0 OR points_change=0),0)";
}

std::string ReportContext::TradeValid() const {
  return "IFNULL(timestamp>0 AND timestamp<=" + std::to_string(Now + kSecondsPerDay) + " AND eosid_to<>'' AND (" +
         kAdminRow + " OR (amount>0 AND points_after_from>=0 AND points_after_to>=0 AND eosid_from<>'')),0)";
}

}  // namespace report
