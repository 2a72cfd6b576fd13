// tandorshop-sim: a simulated dedicated server that loads the shop plugin. It
// runs until Ctrl-C, taking commands of the scenario language from a terminal,
// or runs one scenario file and exits with its outcome.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <thread>

#include "SimArguments.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ScratchTables.h"
#include "sim/scenario/ServerLauncher.h"
#include "sim/companions/WebServices.h"

namespace {

std::atomic<bool> g_stop{false};
void OnSignal(int) { g_stop = true; }

// Where the running server can be reached, one line each.
void PrintAddresses(sim::Server& server) {
  std::cout << "tandorshop-sim: RCON on 127.0.0.1:" << server.RconPort() << " (password \"" << server.RconPassword()
            << "\")\n"
            << "tandorshop-sim: Discord webhooks received on " << server.Discord().Address() << "\n";
  if (server.PagePort() != 0) std::cout << "tandorshop-sim: shop page on http://127.0.0.1:" << server.PagePort() << "/\n";
  std::cout << "tandorshop-sim: log at " << server.LogFile() << "\n";
}

// A scenario runs on a server folder and tables of its own, removed afterwards.
int RunScenario(simapp::Arguments& args) {
  const bool ownFolder = !args.ServerDirGiven, ownTables = args.Launch.TablePrefix.empty();
  if (ownFolder) args.Launch.Server.ServerDir = simapp::MakeScratchFolder();
  if (ownTables) args.Launch.TablePrefix = sim::FreshTablePrefix("scenario");
  args.Launch.Server.LogFile = args.Launch.Server.ServerDir + "/ShooterGame/Saved/Logs/ArkApi.log";
  int result = 1;
  try {
    sim::ServerLauncher launcher(args.Launch);
    result = sim::scenario::RunScenarioFile(launcher, args.Scenario, std::cout);
  } catch (const std::exception& e) {
    std::cout << "tandorshop-sim: " << e.what() << std::endl;
  }
  try {
    if (ownTables) sim::DropTablesWithPrefix(args.Launch.TablePrefix);
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-sim: tables " << args.Launch.TablePrefix << "_* left in place: " << e.what() << "\n";
  }
  std::error_code ignored;
  if (ownFolder) std::filesystem::remove_all(args.Launch.Server.ServerDir, ignored);
  return result;
}

int RunServer(const simapp::Arguments& args) {
  sim::ServerLauncher launcher(args.Launch);
  launcher.Start();
  PrintAddresses(launcher.Current());
  std::cout << "tandorshop-sim: Ctrl-C stops the server" << std::endl;
  if (::isatty(STDIN_FILENO)) {
    sim::scenario::RunInteractive(launcher, std::cout, g_stop);
  } else {
    while (!g_stop) {
      launcher.Current().Tick(0.1f);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  std::cout << "tandorshop-sim: stopping" << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    simapp::Arguments args;
    if (!simapp::Parse(argc, argv, args)) {
      simapp::Usage(std::cout);
      return 2;
    }
    if (args.ShowHelp) {
      simapp::Usage(std::cout);
      return 0;
    }
    if (args.ShowVersion) {
      std::cout << "tandorshop-sim " << TANDORSHOP_PROJECT_VERSION << "\n";
      return 0;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    return args.Scenario.empty() ? RunServer(args) : RunScenario(args);
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-sim: " << e.what() << std::endl;
    return 1;
  }
}
