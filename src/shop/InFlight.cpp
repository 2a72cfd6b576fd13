#include "shop/InFlight.h"

#include <string>
#include <unordered_set>

namespace TandorShop::InFlight {
namespace {

std::unordered_set<std::u16string> g_busy;

std::u16string KeyOf(const FString& eosId) {
  std::u16string key(eosId.View());
  for (char16_t& c : key)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return key;
}

}  // namespace

bool Begin(const FString& eosId) { return g_busy.insert(KeyOf(eosId)).second; }
void End(const FString& eosId) { g_busy.erase(KeyOf(eosId)); }
bool IsBusy(const FString& eosId) { return g_busy.count(KeyOf(eosId)) != 0; }
void Clear() { g_busy.clear(); }

}  // namespace TandorShop::InFlight
