// tandorshop-config-check [--strict] FILE
//
// Reads FILE with the plugin's own configuration reader, prints every warning
// the plugin would log (naming the entry), then a summary of what was read.
// Exit status: 0 when the file was read to its end (with --strict: and without
// a warning), 1 when the read ended early (or --strict found warnings), 2 when
// the file cannot be opened or parsed, 64 on bad usage.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "AsaApi/Logging.h"
#include "CheckerSink.h"
#include "Summary.h"
#include "config/MysqlConfig.h"
#include "config/ShopConfigReader.h"
#include "core/Log.h"
#include "AsaApiRuntime/BasicRuntime.h"

namespace {

struct Options {
  bool Strict = false;
  std::string File;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--strict") == 0)
      options.Strict = true;
    else if (options.File.empty())
      options.File = argv[i];
    else
      return false;
  }
  return !options.File.empty();
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

// As the plugin does: a non-empty "ConfigPathOverwrite" replaces the file, once.
bool LoadConfiguration(const std::string& path, nlohmann::json& root) {
  if (!ParseFile(path, root)) return false;
  if (!root.is_object() || !root.contains("ConfigPathOverwrite")) return true;
  const auto& overwrite = root.at("ConfigPathOverwrite");
  if (!overwrite.is_string() || overwrite.get_ref<const std::string&>().empty()) return true;
  const std::string other = overwrite.get<std::string>();
  std::printf("note: ConfigPathOverwrite: reading %s instead\n", other.c_str());
  root = nlohmann::json();
  return ParseFile(other, root);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--strict] FILE\n", argv[0]);
    return 64;
  }
  host::InstallBasicRuntime();
  auto sink = std::make_shared<CheckerSink>(stdout);
  GetLogSinks().push_back(sink);
  TandorShop::CreateLogger();

  nlohmann::json root;
  if (!LoadConfiguration(options.File, root)) return 2;

  const ConfigHelper::ConfigMysql mysql = ConfigHelper::ReadMysqlConfig(root);
  auto config = std::make_unique<ConfigHelper::ShopConfigData>();
  ConfigHelper::ReadShopConfig(root, *config);

  std::printf("%s:\n%s", options.File.c_str(), FormatSummary(Summarise(*config)).c_str());
  std::printf("  %-18s%s\n", "db connections", mysql.keepConnections ? "kept, one per worker" : "one per operation");
  if (sink->ReadEndedEarly()) {
    std::printf("the read ended early: entries after the error were not read\n");
    return 1;
  }
  std::printf("%d warning%s\n", sink->Warnings(), sink->Warnings() == 1 ? "" : "s");
  return options.Strict && sink->Warnings() > 0 ? 1 : 0;
}
