#pragma once
// Writes that settle an operation after its goods moved (a refund, held units
// given back, the record of a purchase whose goods all arrived, a sale's credit
// whose items could not go back) and so must land. Each runs on a worker; one
// that fails is tried again after a pause that doubles (5 s up to 5 minutes), at
// most kMaxAttempts times in this run. A charge's or a redeem's settlement is
// also held by the database (DBHelper::settleOperation), so what this run gives
// up the next start settles. Game thread only.
#include <cstddef>
#include <functional>
#include <string>

namespace TandorShop::Settlements {

// Seconds before the first retry of a failed settlement, and the longest pause.
inline constexpr int kRetrySeconds = 5;
inline constexpr int kLongestPauseSeconds = 300;
// Tries in this run before a settlement is given up with an error line.
inline constexpr int kMaxAttempts = 12;

enum class Outcome { Landed, Failed, GivenUp };
using Write = std::function<Outcome()>;

// Runs write on a worker until it lands or is given up. `what` names it in the
// error line of a give-up. `afterFirstTry` (may be empty) runs on the game thread
// after the first try; `whenLanded` (may be empty) once it landed.
void Post(std::string what, Write write, std::function<void()> afterFirstTry = {},
          std::function<void()> whenLanded = {});
// Tries again the settlements whose pause is over; called by the points timer.
void RetryDue();
// Settlements waiting for another try.
std::size_t Waiting();
// Unload, after the workers stopped: one last try of each waiting settlement on
// this thread; what still does not land is logged and forgotten here.
void SettleBeforeUnload();
// Forgets what still waits (each already has its error line).
void Forget();

}  // namespace TandorShop::Settlements
