// A stand-in for another server plugin that links against libTandorShop.so and
// uses its points interface. The test drives it through these C entry points.
#include "AsaApi/FString.h"
#include "points/ExportedPoints.h"

#define OTHER_PLUGIN_API extern "C" __attribute__((visibility("default")))

OTHER_PLUGIN_API bool OtherPlugin_Grant(const char* eosId, int amount) {
  return TandorShop::AddPoints(amount, FString(eosId));
}

OTHER_PLUGIN_API bool OtherPlugin_Charge(const char* eosId, int amount) {
  return TandorShop::SpendPoints(amount, FString(eosId));
}

OTHER_PLUGIN_API int OtherPlugin_Balance(const char* eosId) { return TandorShop::GetPoints(FString(eosId)); }

OTHER_PLUGIN_API bool OtherPlugin_Assign(const char* eosId, int amount) {
  return TandorShop::SetPoints(FString(eosId), amount);
}
