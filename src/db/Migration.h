#pragma once
// The form of the shop's tables and the start-up step that brings older tables
// to it.
#include <cstdint>

#include "db/DBConnection.h"

namespace DBHelper {

// 1: the tables as first made (three with only a unique key, the logs with none).
// 2: a primary key on every table, the logs' indexes, this version recorded.
inline constexpr int kSchemaVersion = 2;

enum class MigrationResult {
  Current,   // the recorded version is this plugin's: nothing looked at
  Migrated,  // every table has today's form now (changed or already so)
  Newer,     // a newer plugin's tables: left as they are
  Failed     // a step failed (logged); the next start tries again
};

// Runs on the connection that created the tables, after their creation.
MigrationResult MigrateTables(DBConnection& db, int64_t now);

}  // namespace DBHelper
