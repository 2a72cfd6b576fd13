#include "Options.h"

#include <charconv>
#include <fstream>
#include <nlohmann/json.hpp>

#include "Days.h"

namespace report {

const char* const kUsageText =
    "usage: tandorshop-report [--config FILE] [connection options] [--since WHEN] [--until WHEN]\n"
    "                         [--server ID] [--format html|json|csv] [--out FILE]\n"
    "       tandorshop-report --help | --version\n"
    "\n"
    "Reads the shop's tables (only SELECTs, in one read-only snapshot, no locks; a replica will do)\n"
    "and writes a report on the economy: points in circulation, where they come from and go,\n"
    "packets sold and held, players' balances, admin grants, servers. The HTML page holds\n"
    "everything it needs and makes no request to the network.\n"
    "\n"
    "  --config FILE        the plugin's config.json; its \"Mysql\" section gives the connection\n"
    "                       and its packets the catalogue (packets nobody buys, cooldowns)\n"
    "  --host H             server, or a list \"h1:3306,h2:3306\" tried in order\n"
    "  --port N             port for hosts given without one (default 3306)\n"
    "  --user U, --password P, --database D, --table-prefix PREFIX\n"
    "                       override or replace the values of the configuration\n"
    "  --since WHEN         start of the period (default 30d): 30d, 12h, 2w, 90m back from now,\n"
    "                       a date 2026-11-01, a time 2026-11-01T12:00:00 (UTC) or Unix seconds\n"
    "  --until WHEN         end of the period (default now), the same forms\n"
    "  --server ID          only the log rows of this game server (balances stay network-wide)\n"
    "  --format F           html (default), json or csv: the same figures\n"
    "  --out FILE           write there instead of standard output\n"
    "  --help               this text\n"
    "  --version            the TandorShop version the program belongs to\n"
    "\n"
    "Exit status: 0 report written; 1 report written, but part of the database could not be\n"
    "read (the report says what); 2 no report (no connection, no file); 64 bad usage.\n";

namespace {

std::optional<int64_t> Integer(const std::string& text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::string StringField(const nlohmann::json& section, const char* key) {
  const auto found = section.find(key);
  if (found == section.end() || !found->is_string()) return "";
  return found->get<std::string>();
}

void ReadCatalogue(const nlohmann::json& root, Options& options) {
  const auto packets = root.find("ShopPackets");
  if (packets == root.end() || !packets->is_array()) return;
  for (const nlohmann::json& packet : *packets) {
    if (!packet.is_object()) continue;
    CataloguePacket entry;
    entry.Name = StringField(packet, "PacketName");
    if (entry.Name.empty()) continue;
    const auto cooldown = packet.find("PlayerCooldownHours");
    if (cooldown != packet.end() && cooldown->is_number()) entry.CooldownHours = cooldown->get<double>();
    const auto price = packet.find("Price");
    if (price != packet.end() && price->is_number_integer()) entry.Price = price->get<int64_t>();
    options.Catalogue.push_back(entry);
  }
}

// The "Mysql" section (and the catalogue) of a configuration file.
bool ReadConfig(const std::string& path, Options& options, std::string& error) {
  std::ifstream file(path);
  if (!file.is_open()) {
    error = "can't open " + path;
    return false;
  }
  nlohmann::json root;
  try {
    root = nlohmann::json::parse(file);
  } catch (const std::exception& e) {
    error = path + " is not valid JSON: " + e.what();
    return false;
  }
  const auto mysql = root.is_object() ? root.find("Mysql") : root.end();
  if (mysql == root.end() || !mysql->is_object()) {
    error = path + " has no \"Mysql\" section";
    return false;
  }
  unsigned port = 3306;
  const auto portField = mysql->find("port");
  if (portField != mysql->end()) {
    if (!portField->is_number_integer() || portField->get<int64_t>() < 1 || portField->get<int64_t>() > 65535) {
      error = path + ": Mysql.port must be a number from 1 to 65535";
      return false;
    }
    port = static_cast<unsigned>(portField->get<int64_t>());
  }
  options.Db.Hosts = ParseHostList(StringField(*mysql, "server"), port, error);
  if (!error.empty()) {
    error = path + ": Mysql.server: " + error;
    return false;
  }
  options.Db.User = StringField(*mysql, "username");
  options.Db.Password = StringField(*mysql, "password");
  options.Db.Database = StringField(*mysql, "database");
  options.Db.TablePrefix = StringField(*mysql, "tablePrefix");
  ReadCatalogue(root, options);
  options.HaveConfig = true;
  return true;
}

struct Flags {
  std::optional<std::string> Config, Host, Port, User, Password, Database, Prefix, Since, Until, Server, Format;
};

bool ReadFlags(int argc, const char* const* argv, Options& options, Flags& flags, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
      continue;
    }
    if (arg == "--version") {
      options.Version = true;
      continue;
    }
    std::optional<std::string>* target = nullptr;
    std::string name = arg;
    std::string value;
    bool inlineValue = false;
    if (const auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      inlineValue = true;
    }
    if (name == "--config") target = &flags.Config;
    else if (name == "--host") target = &flags.Host;
    else if (name == "--port") target = &flags.Port;
    else if (name == "--user") target = &flags.User;
    else if (name == "--password") target = &flags.Password;
    else if (name == "--database") target = &flags.Database;
    else if (name == "--table-prefix") target = &flags.Prefix;
    else if (name == "--since") target = &flags.Since;
    else if (name == "--until") target = &flags.Until;
    else if (name == "--server") target = &flags.Server;
    else if (name == "--format") target = &flags.Format;
    if (name == "--out") {
      if (!inlineValue) {
        if (i + 1 >= argc) {
          error = "--out needs a value";
          return false;
        }
        value = argv[++i];
      }
      options.OutFile = value;
      continue;
    }
    if (target == nullptr) {
      error = "unknown argument " + arg;
      return false;
    }
    if (!inlineValue) {
      if (i + 1 >= argc) {
        error = name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    *target = value;
  }
  return true;
}

bool ApplyConnectionFlags(const Flags& flags, Options& options, std::string& error) {
  unsigned port = options.Db.Hosts.empty() ? 3306 : options.Db.Hosts.front().Port;
  if (flags.Port) {
    const auto value = Integer(*flags.Port);
    if (!value || *value < 1 || *value > 65535) {
      error = "--port must be a number from 1 to 65535";
      return false;
    }
    port = static_cast<unsigned>(*value);
    for (Endpoint& endpoint : options.Db.Hosts) endpoint.Port = port;
  }
  if (flags.Host) {
    options.Db.Hosts = ParseHostList(*flags.Host, port, error);
    if (!error.empty()) {
      error = "--host: " + error;
      return false;
    }
  }
  if (flags.User) options.Db.User = *flags.User;
  if (flags.Password) options.Db.Password = *flags.Password;
  if (flags.Database) options.Db.Database = *flags.Database;
  if (flags.Prefix) options.Db.TablePrefix = *flags.Prefix;
  if (options.Db.Hosts.empty()) options.Db.Hosts.push_back({"127.0.0.1", port});
  if (!ValidTablePrefix(options.Db.TablePrefix)) {
    error = "the table prefix \"" + options.Db.TablePrefix + "\" may hold only letters, digits, _ and $";
    return false;
  }
  if (options.Db.Database.empty()) {
    error = "no database named (--database or Mysql.database of --config)";
    return false;
  }
  return true;
}

bool ApplyReportFlags(const Flags& flags, int64_t now, Options& options, std::string& error) {
  options.Until = now;
  if (flags.Until) {
    const auto until = ParseTimeArgument(*flags.Until, now);
    if (!until) {
      error = "--until: \"" + *flags.Until + "\" is not a time (30d, 2026-11-01, 2026-11-01T12:00:00, Unix seconds)";
      return false;
    }
    options.Until = *until;
    options.UntilNow = false;
  }
  const auto since = ParseTimeArgument(flags.Since.value_or("30d"), now);
  if (!since) {
    error = "--since: \"" + *flags.Since + "\" is not a time (30d, 2026-11-01, 2026-11-01T12:00:00, Unix seconds)";
    return false;
  }
  options.Since = *since;
  if (options.Since >= options.Until) {
    error = "--since must lie before --until";
    return false;
  }
  if (flags.Server) {
    const auto server = Integer(*flags.Server);
    if (!server || *server < 0 || *server > 4294967295LL) {
      error = "--server must be a server id from 0 to 4294967295";
      return false;
    }
    options.Server = static_cast<uint32_t>(*server);
  }
  if (flags.Format) {
    if (*flags.Format == "html") options.Output = Format::Html;
    else if (*flags.Format == "json") options.Output = Format::Json;
    else if (*flags.Format == "csv") options.Output = Format::Csv;
    else {
      error = "--format must be html, json or csv";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ValidTablePrefix(const std::string& prefix) {
  if (prefix.size() > 40) return false;
  for (const char c : prefix)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'))
      return false;
  return true;
}

std::vector<Endpoint> ParseHostList(const std::string& text, unsigned defaultPort, std::string& error) {
  std::vector<Endpoint> hosts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::string entry = text.substr(start, end - start);
    while (!entry.empty() && entry.front() == ' ') entry.erase(entry.begin());
    while (!entry.empty() && entry.back() == ' ') entry.pop_back();
    start = end + 1;
    if (entry.empty()) continue;
    Endpoint endpoint{entry, defaultPort};
    std::size_t colon = std::string::npos;
    if (entry.front() == '[') {
      const std::size_t close = entry.find(']');
      if (close == std::string::npos) {
        error = "\"" + entry + "\" lacks its ]";
        return {};
      }
      endpoint.Host = entry.substr(1, close - 1);
      if (close + 1 < entry.size()) colon = entry[close + 1] == ':' ? close + 1 : entry.size();
    } else if (entry.find(':') == entry.rfind(':')) {
      colon = entry.find(':');
      if (colon != std::string::npos) endpoint.Host = entry.substr(0, colon);
    }
    if (colon != std::string::npos) {
      const auto port = Integer(colon < entry.size() ? entry.substr(colon + 1) : "");
      if (!port || *port < 1 || *port > 65535) {
        error = "\"" + entry + "\" has no port from 1 to 65535";
        return {};
      }
      endpoint.Port = static_cast<unsigned>(*port);
    }
    hosts.push_back(endpoint);
  }
  return hosts;
}

bool ParseOptions(int argc, const char* const* argv, int64_t now, Options& options, std::string& error) {
  Flags flags;
  if (!ReadFlags(argc, argv, options, flags, error)) return false;
  if (options.Help || options.Version) return true;
  if (flags.Config && !ReadConfig(*flags.Config, options, error)) return false;
  return ApplyConnectionFlags(flags, options, error) && ApplyReportFlags(flags, now, options, error);
}

}  // namespace report
