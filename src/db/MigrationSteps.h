#pragma once
// What each table of an older version lacks, as statements: the data of the
// migration, kept apart from the code that looks at a table and runs them.
#include <span>
#include <string_view>
#include <vector>

namespace DBHelper {

struct IndexStep {
  std::string_view name;
  std::string_view clause;  // an ALTER TABLE clause that adds it
};

struct TableMigration {
  std::string_view table;  // after the prefix and "_"
  // The primary key's columns as information_schema lists a unique index on the
  // same columns (which it replaces), empty for a new column.
  std::string_view keyColumns;
  std::vector<std::string_view> primaryKeyClauses;
  // Rows whose key holds NULL folded into the row with empty text in its place
  // ("{}" is the table), then deleted; empty where the key columns are NOT NULL.
  std::string_view mergeNullKeys;
  std::string_view deleteNullKeys;
  std::string_view mergeRule;  // for the log line
  std::vector<IndexStep> indexes;
};

std::span<const TableMigration> TableMigrations();

}  // namespace DBHelper
