// tandorshop-sim: a simulated dedicated server that loads the shop plugin and
// runs until Ctrl-C.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "sim/Classes.h"
#include "sim/Creatures.h"
#include "sim/GameModel.h"
#include "sim/Server.h"
#include "sim/WebServices.h"
#include "sim/WorldExtras.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

struct Arguments {
  std::string Config;
  std::string ServerDir = "build/run/server";
  std::string Plugin = TANDORSHOP_PLUGIN_PATH;
  uint16_t RconPort = 27020;
  std::string RconPassword = "tandorshop";
  bool LateLoad = false;
  std::string ServerKey;
  int32_t ServerId = 1;
  std::string Map = "TheIsland_WP";
  uint16_t DiscordPort = 18080;
  uint16_t PagePort = 18081;
  double Version = 1.01;
  double MinVersion = 1.0;
};

void Usage() {
  std::cout << "usage: tandorshop-sim --config FILE [--server-dir DIR] [--plugin PATH] [--rcon-port N]\n"
               "                      [--rcon-password TEXT] [--late-load] [--server-key KEY]\n"
               "                      [--server-id N] [--map NAME] [--discord-port N] [--page-port N]\n"
               "                      [--version X.YZ] [--min-version X.YZ]\n"
               "The \"Mysql\" section is taken from TANDORSHOP_DB_* when those are set.\n";
}

bool Parse(int argc, char** argv, Arguments& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument("missing value for " + arg);
      return argv[++i];
    };
    if (arg == "--config") out.Config = next();
    else if (arg == "--server-dir") out.ServerDir = next();
    else if (arg == "--plugin") out.Plugin = next();
    else if (arg == "--rcon-port") out.RconPort = static_cast<uint16_t>(std::stoi(next()));
    else if (arg == "--rcon-password") out.RconPassword = next();
    else if (arg == "--late-load") out.LateLoad = true;
    else if (arg == "--server-key") out.ServerKey = next();
    else if (arg == "--server-id") out.ServerId = std::stoi(next());
    else if (arg == "--map") out.Map = next();
    else if (arg == "--discord-port") out.DiscordPort = static_cast<uint16_t>(std::stoi(next()));
    else if (arg == "--page-port") out.PagePort = static_cast<uint16_t>(std::stoi(next()));
    else if (arg == "--version") out.Version = std::stod(next());
    else if (arg == "--min-version") out.MinVersion = std::stod(next());
    else return false;
  }
  return !out.Config.empty();
}

// The creatures the configuration sells exist in the game, with an entry in its game data.
void AddConfiguredCreatures(const nlohmann::json& config, sim::Server& server) {
  for (const auto& packet : config.value("ShopPackets", nlohmann::json::array()))
    for (const auto& dino : packet.value("Dinos", nlohmann::json::array()))
      for (const auto& variant : dino.value("Variants", nlohmann::json::array())) {
        const std::string path = variant.value("Blueprint", "");
        if (path.empty() || sim::ClassRegistry::Get().Find(path) != nullptr) continue;
        sim::CreatureClassSpec spec;
        spec.Path = path;
        spec.DescriptiveName = variant.value("Name", "Dino");
        server.Model().Data.AddDinoEntry(sim::CreatureClasses::Add(spec), spec.DescriptiveName);
      }
}

// The game's assets the configuration names: every texture path becomes a
// loadable texture, every blueprint path not known yet a class.
void AddConfiguredAssets(const nlohmann::json& node, sim::Server& server) {
  if (node.is_string()) {
    const std::string text = node.get<std::string>();
    if (text.rfind("Texture2D'", 0) == 0) server.Extras().AddTexture(text);
    else if (text.rfind("Blueprint'", 0) == 0 && sim::ClassRegistry::Get().Find(text) == nullptr)
      sim::ClassRegistry::Get().Add(text);
  }
  if (node.is_structured())
    for (const auto& child : node) AddConfiguredAssets(child, server);
}

// Copies the configuration into the plugin's folder, pointing its database
// section at the private server when the scripts said where that is.
void InstallConfig(const Arguments& args) {
  std::ifstream in(args.Config);
  if (!in) throw std::runtime_error("cannot read " + args.Config);
  nlohmann::json config = nlohmann::json::parse(in);
  if (const char* host = std::getenv("TANDORSHOP_DB_HOST")) {
    auto& mysql = config["Mysql"];
    mysql["server"] = host;
    mysql["port"] = std::stoi(std::getenv("TANDORSHOP_DB_PORT") ? std::getenv("TANDORSHOP_DB_PORT") : "3306");
    if (const char* user = std::getenv("TANDORSHOP_DB_USER")) mysql["username"] = user;
    if (const char* password = std::getenv("TANDORSHOP_DB_PASSWORD")) mysql["password"] = password;
    if (const char* database = std::getenv("TANDORSHOP_DB_NAME")) mysql["database"] = database;
  }
  const auto folder = std::filesystem::path(args.ServerDir) / "ArkApi" / "Plugins" / "TandorShop";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "config.json") << config.dump(2);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  try {
    if (!Parse(argc, argv, args)) {
      Usage();
      return 2;
    }
    args.ServerDir = std::filesystem::absolute(args.ServerDir).string();
    InstallConfig(args);

    sim::ServerOptions options;
    options.ServerDir = args.ServerDir;
    options.MapName = args.Map;
    options.ServerId = args.ServerId;
    options.RconPort = args.RconPort;
    options.RconPassword = args.RconPassword;
    options.LogFile = args.ServerDir + "/ShooterGame/Saved/Logs/ArkApi.log";
    options.ConsoleLog = true;
    std::string commandLine = "ArkAscendedServer.exe " + args.Map + "?listen";
    if (!args.ServerKey.empty()) commandLine += " -serverkey=" + args.ServerKey;
    options.CommandLine = std::u16string(commandLine.begin(), commandLine.end());

    options.DiscordPort = args.DiscordPort;
    options.ShopPage = true;
    options.PagePort = args.PagePort;

    sim::Server server(options);
    server.Version().SetVersions(args.Version, args.MinVersion);
    const nlohmann::json configured = nlohmann::json::parse(std::ifstream(args.Config));
    AddConfiguredCreatures(configured, server);
    AddConfiguredAssets(configured, server);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    if (args.LateLoad) server.BeginPlay();
    server.LoadPlugin(args.Plugin);
    if (!args.LateLoad) server.BeginPlay();

    std::cout << "tandorshop-sim: RCON on 127.0.0.1:" << server.RconPort() << " (password \"" << args.RconPassword
              << "\")\n"
              << "tandorshop-sim: Discord webhooks received on " << server.Discord().Address() << "\n"
              << "Shop page: http://127.0.0.1:" << server.PagePort() << "/\n"
              << "tandorshop-sim: log at " << options.LogFile << "\n"
              << "tandorshop-sim: Ctrl-C stops the server" << std::endl;

    while (!g_stop) {
      server.Tick(0.1f);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::cout << "tandorshop-sim: stopping" << std::endl;
    server.UnloadPlugin();
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-sim: " << e.what() << std::endl;
    return 1;
  }
}
