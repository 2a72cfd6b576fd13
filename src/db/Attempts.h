#pragma once
// Operations retried as a whole. A cluster refuses a transaction that met
// another node's write (1213), a lock wait runs out (1205), a node leaves the
// primary component (1047, 1053), a connection drops before the COMMIT went out:
// nothing of the transaction was kept, and running all of it again is safe. The
// frames of the database layer note on the thread what the current try met; the
// outermost RunRetried decides from that whether to run the operation again.
// After a COMMIT went out it is never run again here: the operation's id decides
// (CommitIdentified), and notes a try that its lookup proved not kept.
#include <cstdint>
#include <string_view>

namespace DBHelper {

// Errors after which the whole transaction may run again.
bool IsRetryableError(unsigned int error) noexcept;

// What the frames note about the current try of the thread's operation.
void NoteStatementError(unsigned int error) noexcept;
void NoteCommitSent() noexcept;
// The lookup of a lost commit answer found the operation's id missing.
void NoteCommitNotKept() noexcept;
// A failure noted now is one a further try will take care of: its log line is
// debug, not error.
bool FailureWillBeRetried() noexcept;

// Tries so far of every operation, for the log's and the benchmarks' figures.
struct RetryCounts {
  uint64_t retries = 0;  // tries after the first
  uint64_t gaveUp = 0;   // operations that still failed after their last try
};
RetryCounts RetryCountsSoFar() noexcept;

// The outermost operation frame of a thread: counts its tries and waits between
// them (jittered, growing; few and short on the game thread, none at unload).
class AttemptScope {
 public:
  explicit AttemptScope(std::string_view qualifiedName) noexcept;
  ~AttemptScope();
  AttemptScope(const AttemptScope&) = delete;
  AttemptScope& operator=(const AttemptScope&) = delete;

  // False inside another operation's frame: that one retries.
  bool Outer() const noexcept { return outer_; }
  void Begin() noexcept;
  // After a try: true when it should run again (after the pause, already waited).
  bool RunAgain() noexcept;

 private:
  std::string_view name_;
  bool outer_;
  int tries_ = 0;
};

}  // namespace DBHelper
