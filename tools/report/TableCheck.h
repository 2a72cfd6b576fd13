#pragma once
// Which of the shop's six tables can be read: each must hold the columns the
// report reads, by name, in the plugin's order. Columns after them (a later
// version's additions) are accepted; anything else is a database of another
// version and its table is left out, with a line saying so.
#include <string>
#include <vector>

namespace report {

class Database;

enum class Table { Points, Chars, Redeems, Cooldowns, TradeLog, ShopLog };
constexpr int kTableCount = 6;

struct TableState {
  bool Readable = false;
  int ExtraColumns = 0;
};

// The form of the tables this report knows best; {prefix}_schema records the form
// of a database ("tables"), and a database without that table is of form 1.
constexpr int kKnownVersion = 2;

struct Schema {
  TableState Tables[kTableCount];
  int Version = 0;  // 0: not known (no shop table, or the version could not be read)
  std::vector<std::string> Notes;  // what could not be read, and why
  bool Readable(Table table) const { return Tables[static_cast<int>(table)].Readable; }
  bool AllReadable() const;
};

// The line for a database of another form than kKnownVersion (empty for that one), pure.
std::string VersionNote(int version, const std::string& schemaTable);

// "shop_player_points" and so on.
std::string TableName(const std::string& prefix, Table table);
// The same, quoted for a statement.
std::string Quoted(const std::string& prefix, Table table);

// The columns found, in order, compared with those expected (pure).
TableState CompareColumns(Table table, const std::vector<std::string>& found, std::string& note,
                          const std::string& name);

Schema CheckSchema(Database& db, const std::string& prefix);

}  // namespace report
