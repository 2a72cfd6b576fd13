#pragma once
// Writes that settle an operation after its goods moved (a refund, held units
// given back, a sale's credit whose items could not go back) and so must land.
// Each runs on a worker; one that fails waits and is tried again until the
// database takes it. Game thread only.
#include <cstddef>
#include <functional>
#include <string>

namespace TandorShop::Settlements {

// Seconds between two tries of a failed settlement.
inline constexpr int kRetrySeconds = 5;

// Runs write on a worker; true from it means it landed. `done` (may be empty)
// runs on the game thread after the first try, with its outcome.
void Post(std::function<bool()> write, std::function<void(bool landed)> done = {});
// Tries again the settlements whose wait is over; called by the points timer.
void RetryDue();
// Settlements waiting for another try.
std::size_t Waiting();
// Unload: what still waits is logged as lost (each already has its warning).
void Forget();

}  // namespace TandorShop::Settlements
