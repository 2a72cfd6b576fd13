#include "shop/GroupMembership.h"

#include <exception>

#include "core/Log.h"
#include "core/Platform.h"

namespace TandorShop::GroupMembership {
namespace {

// Permissions::IsPlayerInGroup(const FString&, const FString&), as the Permissions plugin exports it:
// decorated by MSVC on Windows, by the Itanium C++ ABI elsewhere.
#ifdef _WIN32
constexpr const char* kExportName = "?IsPlayerInGroup@Permissions@@YA_NAEBVFString@@0@Z";
#else
constexpr const char* kExportName = "_ZN11Permissions15IsPlayerInGroupERK7FStringS2_";
#endif
using IsPlayerInGroupFn = bool (*)(const FString&, const FString&);

enum class Binding { NotTried, Bound, Missing };

// Game thread only.
Binding g_binding = Binding::NotTried;
IsPlayerInGroupFn g_function = nullptr;

bool Bind() {
  if (g_binding == Binding::NotTried) {
    // Another loaded plugin's export, found in the process's global symbols.
    g_function = reinterpret_cast<IsPlayerInGroupFn>(Platform::FindLoadedExport(kExportName));
    g_binding = g_function != nullptr ? Binding::Bound : Binding::Missing;
    if (g_binding == Binding::Missing)
      Log().error("Permissions plugin not found: every group check answers false");
  }
  return g_binding == Binding::Bound;
}

}  // namespace

bool IsPlayerInGroup(const FString& eosId, const FString& group) {
  if (!Bind()) return false;
  try {
    return g_function(eosId, group);
  } catch (const std::exception& e) {
    Log().error("Permissions::IsPlayerInGroup failed: {}", e.what());
  } catch (...) {
    Log().error("Permissions::IsPlayerInGroup failed");
  }
  return false;
}

}  // namespace TandorShop::GroupMembership
