// The Permissions plugin as the simulated server loads it: a shared library that
// exports Permissions::IsPlayerInGroup. The server answers the questions.
#include "AsaApi/FString.h"

namespace {
using GroupOracle = bool (*)(void* context, const FString& eosId, const FString& group);
GroupOracle g_oracle = nullptr;
void* g_context = nullptr;
}  // namespace

namespace Permissions {
__attribute__((visibility("default"))) bool IsPlayerInGroup(const FString& eosId, const FString& group) {
  return g_oracle != nullptr && g_oracle(g_context, eosId, group);
}
}  // namespace Permissions

// The simulated server's side: who answers the group questions (oracle(context, ...)).
extern "C" __attribute__((visibility("default"))) void TandorShopSim_SetGroupOracle(GroupOracle oracle,
                                                                                      void* context) {
  g_oracle = oracle;
  g_context = context;
}
