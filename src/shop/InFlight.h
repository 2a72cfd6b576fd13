#pragma once
// Players with a purchase, redeem or trade under way. While a player's operation
// runs (from the request until its last step on the game thread), another such
// request of the same player is dropped, so a balance or a held amount read for
// one request can never be spent by another. Game thread only.
#include <utility>

#include "AsaApi/FString.h"

namespace TandorShop::InFlight {

// Marks the player busy; false when they already were (the request is dropped).
bool Begin(const FString& eosId);
// The player's operation ended (also when it was refused).
void End(const FString& eosId);
bool IsBusy(const FString& eosId);
// Forgets everybody (unload: results not handed back never end their operation).
void Clear();

// Ends the player's operation when it goes out of scope, on every path out of a
// game-thread step (refusal, exception), unless the operation was handed on to
// a later step that ends it.
class Scope {
 public:
  explicit Scope(FString eosId) : eosId_(std::move(eosId)) {}
  ~Scope() {
    if (!handedOn_) End(eosId_);
  }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;
  void HandOn() { handedOn_ = true; }

 private:
  FString eosId_;
  bool handedOn_ = false;
};

}  // namespace TandorShop::InFlight
