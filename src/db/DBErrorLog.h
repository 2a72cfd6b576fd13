#pragma once
// The log lines of database failures.
#include <string_view>

namespace DBHelper {

// "({} {}) Unexpected DB error {}" with the persistence source's path and the operation's qualified name.
void LogUnexpectedError(std::string_view qualifiedName, std::string_view what) noexcept;
// One warning for a write that did not happen, naming what an admin needs to
// repair it by hand: "<operation> did not happen for eosId <id>: <what>".
void LogLostWrite(std::string_view operation, std::string_view eosId, std::string_view what) noexcept;
// A critical line "({} {}) <message>" for a table that could not be created.
void LogTableCreationFailure(std::string_view qualifiedName, std::string_view message) noexcept;

}  // namespace DBHelper
