// tandorshop-config-check: reads a configuration file with the plugin's own
// reader and reports what the plugin would refuse or skip, likely mistakes it
// would accept, and what cannot be checked without the game. Usage and exit
// codes: see UsageText below.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "AsaApi/Logging.h"
#include "AsaApiRuntime/BasicRuntime.h"
#include "Summary.h"
#include "config/ConfigLint.h"
#include "config/ConfigLoader.h"
#include "config/ConfigRead.h"
#include "config/ConfigSchema.h"
#include "core/Log.h"
#include "core/Version.h"

namespace {

enum ExitCode { Clean = 0, Refused = 1, Unreadable = 2, BadUsage = 64 };

constexpr const char* UsageText =
    "usage: tandorshop-config-check [--strict] FILE\n"
    "       tandorshop-config-check --help | --version\n"
    "\n"
    "Reads FILE (a TandorShop config.json) with the plugin's own reader and prints, each under\n"
    "the entry it belongs to:\n"
    "  error    what the plugin cannot read (a value of the wrong type, a number that does not\n"
    "           fit, a missing \"General\", an unusable \"Mysql\"): a reload refuses the file;\n"
    "           at server start the entry is left out (a \"ConfigPathOverwrite\" that is not a\n"
    "           string stops the plugin)\n"
    "  warning  entries the plugin skips (a missing key, an illegal name) and likely mistakes\n"
    "           it accepts (unknown keys, duplicate names, prices and amounts that make no\n"
    "           sense, reward packets without a player cooldown)\n"
    "  note     what only the game can check (class and texture paths)\n"
    "then a summary of what was read. A relative \"ConfigPathOverwrite\" is taken from the\n"
    "working directory: run the checker in the server's folder (the one holding ArkApi/).\n"
    "\n"
    "  --strict   warnings fail the check too\n"
    "  --help     this text\n"
    "  --version  the TandorShop version the checker belongs to\n"
    "\n"
    "Exit status: 0 no error (and, with --strict, no warning); 1 errors (or warnings with\n"
    "--strict); 2 the file cannot be opened or is not valid JSON; 64 bad usage.\n";

struct Options {
  bool Strict = false;
  bool Help = false;
  bool Version = false;
  std::string File;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--strict")
      options.Strict = true;
    else if (arg == "--help" || arg == "-h")
      options.Help = true;
    else if (arg == "--version")
      options.Version = true;
    else if (arg.size() > 1 && arg[0] == '-')
      return false;
    else if (options.File.empty())
      options.File = arg;
    else
      return false;
  }
  return options.Help || options.Version || !options.File.empty();
}

bool ParseFile(const std::string& path, nlohmann::json& root) {
  std::ifstream file(path);
  if (!file.is_open()) {
    std::printf("error: can't open %s\n", path.c_str());
    return false;
  }
  try {
    root = nlohmann::json::parse(file);
    return true;
  } catch (const std::exception& e) {
    std::printf("error: %s: %s\n", path.c_str(), e.what());
    return false;
  }
}

// As the plugin does: a non-empty "ConfigPathOverwrite" replaces the file, once;
// a relative path is taken from the working directory, which stands for the
// server's folder. A value the plugin refuses is an error in `problems`.
bool LoadConfiguration(const std::string& path, nlohmann::json& root,
                       std::vector<ConfigHelper::ConfigProblem>& problems) {
  if (!ParseFile(path, root)) return false;
  std::string other;
  try {
    other = ConfigHelper::OverwritePath(root, std::filesystem::current_path().string());
  } catch (const std::exception& e) {
    problems.push_back({ConfigHelper::ProblemKind::Error, "ConfigPathOverwrite",
                        std::string(e.what()) + "; the plugin does not load this file"});
    return true;
  }
  if (other.empty()) return true;
  std::printf("note: ConfigPathOverwrite: reading %s instead\n", other.c_str());
  root = nlohmann::json();
  return ParseFile(other, root);
}

const char* KindName(ConfigHelper::ProblemKind kind) {
  switch (kind) {
    case ConfigHelper::ProblemKind::Error:
      return "error";
    case ConfigHelper::ProblemKind::Warning:
      return "warning";
    case ConfigHelper::ProblemKind::Note:
      return "note";
  }
  return "";
}

void Print(const std::vector<ConfigHelper::ConfigProblem>& problems) {
  for (const auto& p : problems) {
    std::printf("%s: %s%s%s\n", KindName(p.Kind), p.Entry.c_str(), p.Entry.empty() ? "" : ": ", p.Text.c_str());
  }
}

int Count(const std::vector<ConfigHelper::ConfigProblem>& problems, ConfigHelper::ProblemKind kind) {
  int n = 0;
  for (const auto& p : problems) n += p.Kind == kind ? 1 : 0;
  return n;
}

std::string DatabaseLine(const ConfigHelper::ConfigMysql& mysql) {
  if (!mysql.valid) return "none usable (see the error above)";
  return std::string(mysql.keepConnections ? "kept, one per worker" : "one per operation") + ", " + mysql.server +
         ":" + std::to_string(mysql.port) + "/" + mysql.database;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "%s", UsageText);
    return BadUsage;
  }
  if (options.Help) {
    std::printf("%s", UsageText);
    return Clean;
  }
  if (options.Version) {
    std::printf("tandorshop-config-check %s\n", TandorShop::ProjectVersion);
    return Clean;
  }
  host::InstallBasicRuntime();
  TandorShop::CreateLogger();  // on no sink: the problems are printed from the report

  nlohmann::json root;
  std::vector<ConfigHelper::ConfigProblem> problems;
  if (!LoadConfiguration(options.File, root, problems)) return Unreadable;

  ConfigHelper::ConfigRead read = ConfigHelper::ReadConfiguration(root);
  problems.insert(problems.end(), read.Report.Problems.begin(), read.Report.Problems.end());
  for (auto& found : {ConfigHelper::FindUnknownKeys(root), ConfigHelper::LintConfiguration(root)})
    problems.insert(problems.end(), found.begin(), found.end());
  Print(problems);

  std::printf("%s:\n%s", options.File.c_str(), FormatSummary(Summarise(*read.Shop)).c_str());
  std::printf("  %-18s%s\n", "db connections", DatabaseLine(read.Mysql).c_str());
  const int errors = Count(problems, ConfigHelper::ProblemKind::Error);
  const int warnings = Count(problems, ConfigHelper::ProblemKind::Warning);
  std::printf("%d error%s, %d warning%s\n", errors, errors == 1 ? "" : "s", warnings, warnings == 1 ? "" : "s");
  if (errors > 0) {
    std::printf("a reload refuses this file; at server start the entries in error are left out\n");
    return Refused;
  }
  return options.Strict && warnings > 0 ? Refused : Clean;
}
