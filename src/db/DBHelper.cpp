// Failure reporting shared by every DBHelper query.
#include <fmt/format.h>

#include "core/Log.h"
#include "db/Attempts.h"
#include "db/DBErrorLog.h"

namespace DBHelper {
namespace {
constexpr const char* kSourceFile = __FILE__;
}

void LogUnexpectedError(std::string_view qualifiedName, std::string_view what) noexcept {
  try {
    // A failure the operation's next try takes care of is no error yet.
    if (FailureWillBeRetried())
      TandorShop::Log().debug("({} {}) Unexpected DB error {}", kSourceFile, qualifiedName, what);
    else
      TandorShop::Log().error("({} {}) Unexpected DB error {}", kSourceFile, qualifiedName, what);
  } catch (...) {
  }
}

void LogLostWrite(std::string_view operation, std::string_view eosId, std::string_view what) noexcept {
  try {
    TandorShop::Log().warn("{} did not happen for eosId {}: {}", operation, eosId, what);
  } catch (...) {
  }
}

void LogTableCreationFailure(std::string_view qualifiedName, std::string_view message) noexcept {
  try {
    TandorShop::Log().critical("({} {}) {}", kSourceFile, qualifiedName, message);
  } catch (...) {
  }
}

}  // namespace DBHelper
