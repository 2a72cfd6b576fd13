#pragma once
// Hooks swap a function-table entry for a detour and hand back the previous
// address, the game's own function as far as the detour is concerned.
#include <string>

#include "AsaApi/GameTables.h"

namespace AsaApi {

class IHooks {
 public:
  virtual ~IHooks() = default;
  // Installs detour on name; *original receives the address to call on.
  virtual bool SetHook(const std::string& name, void* detour, void** original) = 0;
  // Removes the detour installed on name. Unknown pairs are ignored.
  virtual bool DisableHook(const std::string& name, void* detour) = 0;

  template <typename R, typename... A>
  bool SetHook(const GameFunction<R(A...)>& function, R (*detour)(A...), R (**original)(A...)) {
    return SetHook(function.Name, reinterpret_cast<void*>(detour), reinterpret_cast<void**>(original));
  }
  template <typename R, typename... A>
  bool DisableHook(const GameFunction<R(A...)>& function, R (*detour)(A...)) {
    return DisableHook(function.Name, reinterpret_cast<void*>(detour));
  }
};

IHooks& GetHooks();

}  // namespace AsaApi
