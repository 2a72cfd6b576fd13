#pragma once
// The command line and the "Mysql" section of a configuration file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace report {

enum class Format { Html, Json, Csv };

struct Endpoint {
  std::string Host;
  unsigned Port = 3306;
};

struct Connection {
  std::vector<Endpoint> Hosts;  // tried in order
  std::string User;
  std::string Password;
  std::string Database;
  std::string TablePrefix;
};

// A packet of the catalogue, when a configuration file was given.
struct CataloguePacket {
  std::string Name;
  double CooldownHours = 0;
  int64_t Price = 0;
};

struct Options {
  bool Help = false;
  bool Version = false;
  Connection Db;
  Format Output = Format::Html;
  std::string OutFile;  // empty: standard output
  int64_t Since = 0;
  int64_t Until = 0;
  bool UntilNow = true;  // --until not given: the balances table is the last point
  std::optional<uint32_t> Server;
  std::vector<CataloguePacket> Catalogue;
  bool HaveConfig = false;
};

// Reads argv; on a mistake returns false with a one-line reason in error.
bool ParseOptions(int argc, const char* const* argv, int64_t now, Options& options, std::string& error);

// "h1:3306,h2" with defaultPort for entries without one; "[::1]:3306" for IPv6.
std::vector<Endpoint> ParseHostList(const std::string& text, unsigned defaultPort, std::string& error);

// A prefix may hold letters, digits, "_" and "$" (it goes into table names unquoted by the plugin).
bool ValidTablePrefix(const std::string& prefix);

extern const char* const kUsageText;

}  // namespace report
