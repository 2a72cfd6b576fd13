// The plugin's log as a game server shows it: in the console and in the log file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "testsupport/Database.h"
#include "testsupport/ServerFixture.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ServerLog, ThePluginsLinesAndConfigurationWarningsReachTheConsoleAndTheLogFile) {
  const std::string prefix = testsupport::UniquePrefix("log");
  sim::ServerOptions options;
  options.LogFile = (std::filesystem::temp_directory_path() / (prefix + ".log")).string();
  options.ConsoleLog = true;
  nlohmann::json config = testsupport::MinimalConfig(prefix);
  config["ShopCategories"] = {{{"Name", "Kits"}}};
  config["ShopPackets"] = {{{"ShopCategory", "Kits"}, {"PacketName", "Kit"}, {"Price", 1}, {"Items", {{{"Amount", 1}}}}}};

  testing::internal::CaptureStdout();
  bool open = false;
  {
    testsupport::ServerFixture fixture(options);
    fixture.WriteConfig(config);
    open = fixture.LoadAndOpenShop();
  }
  const std::string console = testing::internal::GetCapturedStdout();
  const std::string file = ReadAll(options.LogFile);
  std::filesystem::remove(options.LogFile);
  testsupport::DropTablesWithPrefix(prefix);

  ASSERT_TRUE(open);
  for (const char* line : {"[TandorShop][info] Shop is up to date.", "[TandorShop][warning] Warning: Item 0 has no Variant."}) {
    EXPECT_NE(console.find(line), std::string::npos) << line << " not in the console:\n" << console;
    EXPECT_NE(file.find(line), std::string::npos) << line << " not in the log file:\n" << file;
  }
}

}  // namespace
