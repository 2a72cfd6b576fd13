#pragma once
// A game that reports more inventory slots than it then takes: the fit check
// passes and the delivery comes up short, as when the game refuses for a reason
// of its own. For the length of one test.
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Hooks.h"

namespace deliverytest {

class OverstatedSlots {
 public:
  explicit OverstatedSlots(int extra) {
    extra_ = extra;
    AsaApi::GetHooks().SetHook(Game::UPrimalInventoryComponent_::GetMaxInventoryItems, &Detour, &original_);
  }
  ~OverstatedSlots() {
    AsaApi::GetHooks().DisableHook(Game::UPrimalInventoryComponent_::GetMaxInventoryItems, &Detour);
  }
  OverstatedSlots(const OverstatedSlots&) = delete;
  OverstatedSlots& operator=(const OverstatedSlots&) = delete;

 private:
  static int Detour(UPrimalInventoryComponent* inventory, bool ignoreHidden) {
    return original_(inventory, ignoreHidden) + extra_;
  }
  static inline int extra_ = 0;
  static inline int (*original_)(UPrimalInventoryComponent*, bool) = nullptr;
};

}  // namespace deliverytest
