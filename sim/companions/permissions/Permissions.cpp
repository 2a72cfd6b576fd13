// The Permissions plugin as the simulated server loads it: a shared library that
// exports Permissions::IsPlayerInGroup. The server answers the questions.
#include "AsaApi/FString.h"

namespace {
using GroupOracle = bool (*)(const FString& eosId, const FString& group);
GroupOracle g_oracle = nullptr;
}  // namespace

namespace Permissions {
__attribute__((visibility("default"))) bool IsPlayerInGroup(const FString& eosId, const FString& group) {
  return g_oracle != nullptr && g_oracle(eosId, group);
}
}  // namespace Permissions

// The simulated server's side: who answers the group questions.
extern "C" __attribute__((visibility("default"))) void TandorShopSim_SetGroupOracle(GroupOracle oracle) {
  g_oracle = oracle;
}
