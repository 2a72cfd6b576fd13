#include "TableCheck.h"

#include <optional>
#include <set>

#include "ReportDatabase.h"

namespace report {
namespace {

struct TableColumns {
  const char* Suffix;
  std::vector<std::string> Columns;
};

const TableColumns& Expected(Table table) {
  static const TableColumns kTables[kTableCount] = {
      {"player_points", {"eosId", "secondsWithoutReward", "points", "lastChange"}},
      {"player_chars", {"eosId", "charName", "tribeName", "lastLogin", "lastLogout", "lastServerId"}},
      {"player_redeems", {"eosId", "packetStr", "amount", "lastChange", "isRewardPacket", "isAdminReward"}},
      {"player_cooldowns", {"eosId", "packetName", "lastUse"}},
      {"tradelog",
       {"eosid_from", "eosid_to", "from_name", "to_name", "timestamp", "serverid", "amount", "points_after_from",
        "points_after_to"}},
      {"shoplog",
       {"eosId", "packet", "descr", "timestamp", "serverid", "amount", "points_change", "newpoints", "redeemsLeft",
        "isBuy", "isRedeem", "isSell"}},
  };
  return kTables[static_cast<int>(table)];
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ",") + name;
  return text;
}

// Prefixes of other tables that look like the shop's, for a mistyped prefix.
std::vector<std::string> OtherPrefixes(Database& db) {
  std::set<std::string> prefixes;
  db.Stream(
      "SELECT table_name FROM information_schema.tables WHERE table_schema=DATABASE() AND "
      "(table_name LIKE '%\\_shoplog' OR table_name LIKE '%\\_player\\_points')",
      [&](const Row& row) {
        const std::string name(row.Text(0));
        const std::size_t cut = name.size() >= 8 && name.ends_with("_shoplog") ? name.size() - 8 : name.size() - 14;
        prefixes.insert(name.substr(0, cut));
      });
  return {prefixes.begin(), prefixes.end()};
}

bool TableExists(Database& db, const std::string& name) {
  bool found = false;
  db.Stream("SELECT 1 FROM information_schema.tables WHERE table_schema=DATABASE() AND table_name='" +
                db.Escape(name) + "'",
            [&](const Row&) { found = true; });
  return found;
}

// The recorded form of the tables: 1 without a schema table, 0 when it cannot be read.
int ReadVersion(Database& db, const std::string& prefix, std::vector<std::string>& notes) {
  const std::string name = prefix + "_schema";
  if (!TableExists(db, name)) return 1;
  std::optional<int64_t> version;
  bool row = false;
  try {
    db.Stream("SELECT version FROM `" + name + "` WHERE name='tables'", [&](const Row& r) {
      row = true;
      version = r.Int(0);
    });
  } catch (const QueryError& e) {
    notes.push_back("the version of the tables in " + name + " could not be read (" + e.what() +
                    "): the tables are read as far as their columns match");
    return 0;
  }
  if (!row) return 1;  // created, the migration not yet recorded: still the older form
  if (!version || *version < 1 || *version > 1000000) {
    notes.push_back("the version of the tables in " + name + " is out of range: the tables are read as far as "
                    "their columns match");
    return 0;
  }
  return static_cast<int>(*version);
}

}  // namespace

std::string VersionNote(int version, const std::string& schemaTable) {
  if (version == 1)
    return "the tables are of version 1 (no version in " + schemaTable + "; this report knows version " +
           std::to_string(kKnownVersion) + "): they are read as they are, more slowly without the indexes of version " +
           std::to_string(kKnownVersion) + " (the plugin adds them when it starts)";
  if (version > kKnownVersion)
    return "the tables are of version " + std::to_string(version) + ", newer than this report knows (" +
           std::to_string(kKnownVersion) + "): it shows what it can read of them, figures a newer version "
           "records elsewhere are missing";
  return "";
}

bool Schema::AllReadable() const {
  for (const TableState& state : Tables)
    if (!state.Readable) return false;
  return true;
}

std::string TableName(const std::string& prefix, Table table) { return prefix + "_" + Expected(table).Suffix; }

std::string Quoted(const std::string& prefix, Table table) {
  std::string quoted;
  const std::string name = TableName(prefix, table);
  quoted.reserve(name.size() + 2);
  quoted.append(1, '`').append(name).append(1, '`');
  return quoted;
}

TableState CompareColumns(Table table, const std::vector<std::string>& found, std::string& note,
                          const std::string& name) {
  TableState state;
  const std::vector<std::string>& expected = Expected(table).Columns;
  if (found.empty()) {
    note = "table " + name + " is missing: what it holds is left out";
    return state;
  }
  bool same = found.size() >= expected.size();
  for (std::size_t i = 0; same && i < expected.size(); ++i) same = Lower(found[i]) == Lower(expected[i]);
  if (!same) {
    note = "table " + name + " is of another version (columns " + Joined(found) + "; this report reads " +
           Joined(expected) + "): what it holds is left out";
    return state;
  }
  state.Readable = true;
  state.ExtraColumns = static_cast<int>(found.size() - expected.size());
  return state;
}

Schema CheckSchema(Database& db, const std::string& prefix) {
  Schema schema;
  int missing = 0;
  for (int i = 0; i < kTableCount; ++i) {
    const Table table = static_cast<Table>(i);
    const std::string name = TableName(prefix, table);
    std::vector<std::string> columns;
    db.Stream("SELECT column_name FROM information_schema.columns WHERE table_schema=DATABASE() AND table_name='" +
                  db.Escape(name) + "' ORDER BY ordinal_position",
              [&](const Row& row) { columns.emplace_back(row.Text(0)); });
    std::string note;
    schema.Tables[i] = CompareColumns(table, columns, note, name);
    if (columns.empty()) ++missing;
    if (!note.empty()) schema.Notes.push_back(note);
  }
  if (missing == kTableCount) {
    schema.Notes.clear();
    std::string line = "no shop table with the prefix \"" + prefix + "\" in this database";
    const std::vector<std::string> others = OtherPrefixes(db);
    if (!others.empty()) {
      line += "; tables with the prefix";
      for (std::size_t i = 0; i < others.size(); ++i) line += (i == 0 ? " \"" : ", \"") + others[i] + "\"";
      line += " exist (--table-prefix)";
    }
    schema.Notes.push_back(line);
    return schema;
  }
  schema.Version = ReadVersion(db, prefix, schema.Notes);
  const std::string note = VersionNote(schema.Version, prefix + "_schema");
  if (!note.empty()) schema.Notes.insert(schema.Notes.begin(), note);
  return schema;
}

}  // namespace report
