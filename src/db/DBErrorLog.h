#pragma once
// The log lines of database failures.
#include <string_view>

namespace DBHelper {

// "({} {}) Unexpected DB error {}" with the persistence source's path and the operation's qualified name.
void LogUnexpectedError(std::string_view qualifiedName, std::string_view what) noexcept;
// A critical line "({} {}) <message>" for a table that could not be created.
void LogTableCreationFailure(std::string_view qualifiedName, std::string_view message) noexcept;

}  // namespace DBHelper
