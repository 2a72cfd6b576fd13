#include "AsaApi/Hooks.h"

#include <map>
#include <mutex>
#include <vector>

#include "AsaApi/Host.h"

namespace {

struct InstalledHook {
  void* Detour;
  void** Original;  // where the detour keeps the address it calls on
};

class Hooks final : public AsaApi::IHooks {
 public:
  bool SetHook(const std::string& name, void* detour, void** original) override {
    std::lock_guard lock(mutex_);
    void** slot = host::FunctionSlot(name);
    if (*slot == nullptr || detour == nullptr || original == nullptr) return false;
    *original = *slot;
    *slot = detour;
    chains_[name].push_back({detour, original});
    return true;
  }

  bool DisableHook(const std::string& name, void* detour) override {
    std::lock_guard lock(mutex_);
    auto chain = chains_.find(name);
    if (chain == chains_.end()) return false;
    auto& hooks = chain->second;
    for (std::size_t i = 0; i < hooks.size(); ++i) {
      if (hooks[i].Detour != detour) continue;
      void* below = *hooks[i].Original;
      if (i + 1 < hooks.size()) {
        *hooks[i + 1].Original = below;  // the hook above now calls what this one called
      } else {
        *host::FunctionSlot(name) = below;
      }
      hooks.erase(hooks.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
    return false;
  }

  std::size_t Count(const std::string& name) {
    std::lock_guard lock(mutex_);
    auto chain = chains_.find(name);
    return chain == chains_.end() ? 0 : chain->second.size();
  }

  void Clear() {
    std::lock_guard lock(mutex_);
    chains_.clear();
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::vector<InstalledHook>> chains_;
};

Hooks& Instance() {
  static Hooks hooks;
  return hooks;
}

}  // namespace

AsaApi::IHooks& AsaApi::GetHooks() { return Instance(); }
std::size_t host::HookCount(const std::string& name) { return Instance().Count(name); }
void host::ClearHooks() { Instance().Clear(); }
