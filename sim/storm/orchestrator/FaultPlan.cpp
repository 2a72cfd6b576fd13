#include "FaultPlan.h"

#include <algorithm>
#include <random>

namespace storm {

std::vector<Fault> PlanFaults(const Options& o) {
  const int kServerIds[2] = {1, o.GameServers};
  std::vector<Fault> plan;
  for (int k = 1; k <= o.Kills; ++k) plan.push_back({static_cast<double>(k) / (o.Kills + 1), k, 0, 0});
  std::mt19937_64 random(o.Seed * 7919 + 13);
  std::uniform_real_distribution<double> share(0.05, 0.9);
  std::uniform_int_distribution<int> server(kServerIds[0], kServerIds[1]);
  std::uniform_int_distribution<int> extra(0, 400);
  // Every other kill aims at the moment between a charge (or a redeem) and its delivery.
  for (int k = 0; k < o.ServerKills; ++k)
    plan.push_back({share(random), 0, server(random), extra(random), k % 2 == 1});
  std::stable_sort(plan.begin(), plan.end(), [](const Fault& a, const Fault& b) { return a.At < b.At; });
  return plan;
}

}  // namespace storm
