#pragma once
// Tables a run makes for itself in the private database (TANDORSHOP_DB_*), and
// their removal afterwards, so the next run starts clean.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace sim {

// base, "_" and a number no other run uses.
std::string FreshTablePrefix(const std::string& base);
// The tables whose names start with prefix and "_". Throws when the database
// cannot be reached or its settings are missing.
std::vector<std::string> TablesWithPrefix(const std::string& prefix);
void DropTablesWithPrefix(const std::string& prefix);
// The points in the player's row of the tables with this prefix; nothing when
// there is no row. Throws when the database cannot be reached.
std::optional<int64_t> StoredPoints(const std::string& prefix, const std::string& eosId);
// The configuration's "Mysql" section for the private database, with this table
// prefix. Throws when TANDORSHOP_DB_* are not set.
nlohmann::json PrivateDatabaseSection(const std::string& tablePrefix);

}  // namespace sim
