#include "SimArguments.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace simapp {
namespace {

uint16_t Port(const std::string& text) {
  const int port = std::stoi(text);
  if (port < 0 || port > 65535) throw std::invalid_argument("not a port: " + text);
  return static_cast<uint16_t>(port);
}

}  // namespace

void Usage(std::ostream& out) {
  out << "usage: tandorshop-sim --config FILE [--scenario FILE] [--server-dir DIR] [--plugin PATH]\n"
         "                      [--rcon-port N] [--rcon-password TEXT] [--late-load] [--server-key KEY]\n"
         "                      [--server-id N] [--map NAME] [--discord-port N] [--page-port N]\n"
         "                      [--table-prefix NAME] [--mod-version X.YZ] [--min-version X.YZ]\n"
         "       tandorshop-sim --help | --version\n"
         "Without --scenario the server runs until Ctrl-C and reads scenario commands from a terminal.\n"
         "With --scenario it runs the file on a fresh folder and fresh tables (unless --server-dir or\n"
         "--table-prefix say otherwise), prints a transcript and exits: 0 every expectation held,\n"
         "1 a step failed, 2 the file was refused. Ports are then any free ones unless given.\n"
         "The \"Mysql\" section is taken from TANDORSHOP_DB_* when those are set.\n"
         "--mod-version and --min-version set what the mod's version service answers (1.01 and 1.0).\n"
         "--version with a number after it is the old spelling of --mod-version and still works;\n"
         "alone it prints the program's version.\n";
}

bool Parse(int argc, char** argv, Arguments& out) {
  sim::LaunchSettings& launch = out.Launch;
  sim::ServerOptions& server = launch.Server;
  server.ServerDir = "build/run/server";
  server.RconPassword = "tandorshop";
  bool rconPortGiven = false, discordPortGiven = false, pagePortGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument("missing value for " + arg);
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      out.ShowHelp = true;
      return true;
    }
    if (arg == "--version" && (i + 1 >= argc || argv[i + 1][0] == '-')) out.ShowVersion = true;
    else if (arg == "--config") launch.ConfigFile = next();
    else if (arg == "--scenario") out.Scenario = next();
    else if (arg == "--server-dir") server.ServerDir = next(), out.ServerDirGiven = true;
    else if (arg == "--plugin") launch.PluginPath = next();
    else if (arg == "--rcon-port") server.RconPort = Port(next()), rconPortGiven = true;
    else if (arg == "--rcon-password") server.RconPassword = next();
    else if (arg == "--late-load") launch.LateLoad = true;
    else if (arg == "--server-key") launch.ServerKey = next();
    else if (arg == "--server-id") server.ServerId = std::stoi(next());
    else if (arg == "--map") server.MapName = next();
    else if (arg == "--discord-port") server.DiscordPort = Port(next()), discordPortGiven = true;
    else if (arg == "--page-port") server.PagePort = Port(next()), pagePortGiven = true;
    else if (arg == "--table-prefix") launch.TablePrefix = next();
    else if (arg == "--mod-version" || arg == "--version") launch.Version = std::stod(next());
    else if (arg == "--min-version") launch.MinVersion = std::stod(next());
    else return false;
  }
  if (out.ShowVersion) return true;
  if (launch.ConfigFile.empty()) return false;
  const bool scenario = !out.Scenario.empty();
  // A running server listens where an admin expects it; a scenario anywhere free.
  if (!rconPortGiven) server.RconPort = scenario ? 0 : 27020;
  if (!discordPortGiven) server.DiscordPort = scenario ? 0 : 18080;
  // The shop page serves a running server; a scenario only when asked for.
  server.ShopPage = !scenario || pagePortGiven;
  if (!pagePortGiven) server.PagePort = scenario ? 0 : 18081;
  server.ServerDir = std::filesystem::absolute(server.ServerDir).string();
  server.LogFile = server.ServerDir + "/ShooterGame/Saved/Logs/ArkApi.log";
  server.ConsoleLog = !scenario;  // a scenario's transcript shows the log
  return true;
}

std::string MakeScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tandorshop-scenario-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  return pattern;
}

}  // namespace simapp
