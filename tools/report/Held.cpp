#include "Sections.h"

namespace report {

void WriteHeld(const ReportContext& context) {
  nlohmann::json& out = context.Out["held"];
  out = {{"packets", nlohmann::json::array()}};
  if (!context.Readable(Table::Redeems)) return;
  const std::string now = std::to_string(context.Now);
  const std::string age = "(" + now + "-lastChange)";
  auto bucket = [&](int64_t upTo) { return "SUM(IF(" + age + "<" + std::to_string(upTo) + ",amount,0))"; };
  const std::string name = "SUBSTRING_INDEX(SUBSTRING_INDEX(packetStr,';',1),',',1)";
  context.Db.Stream("SELECT " + name + " AS name,MAX(isRewardPacket<>0 OR packetStr LIKE '%,1'),COUNT(DISTINCT eosId)," +
                        "SUM(amount)," + bucket(86400) + "," + bucket(7 * 86400) + "," + bucket(30 * 86400) + "," +
                        bucket(90 * 86400) + ",MIN(lastChange) FROM " + context.Table(Table::Redeems) +
                        " WHERE amount>0 GROUP BY name ORDER BY 4 DESC,name",
                    [&](const Row& row) {
                      const int64_t units = row.IntOr(3, 0);
                      const int64_t day = row.IntOr(4, 0), week = row.IntOr(5, 0), month = row.IntOr(6, 0),
                                    quarter = row.IntOr(7, 0);
                      out["packets"].push_back({{"packet", row.Text(0)},
                                                {"reward", row.IntOr(1, 0) != 0},
                                                {"players", row.IntOr(2, 0)},
                                                {"units", units},
                                                {"underADay", day},
                                                {"underAWeek", week - day},
                                                {"underAMonth", month - week},
                                                {"underAQuarter", quarter - month},
                                                {"older", units - quarter}});
                    });
  context.Db.First("SELECT COUNT(*),IFNULL(SUM(amount>0),0),IFNULL(SUM(IF(amount>0,amount,0)),0),"
                   "COUNT(DISTINCT IF(amount>0,eosId,NULL)),IFNULL(SUM(amount=0),0),IFNULL(SUM(amount<0),0) FROM " +
                       context.Table(Table::Redeems),
                   [&](const Row& row) {
                     out["rows"] = row.IntOr(0, 0);
                     out["holdings"] = row.IntOr(1, 0);
                     out["units"] = row.IntOr(2, 0);
                     out["players"] = row.IntOr(3, 0);
                     out["emptyRows"] = row.IntOr(4, 0);
                     out["negativeRows"] = row.IntOr(5, 0);
                   });
  if (out.value("negativeRows", 0) > 0)
    context.Note(std::to_string(out["negativeRows"].get<int64_t>()) +
                 " held packet rows have a negative amount (out of range): they are left out");
}

}  // namespace report
