#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "AsaApi/Host.h"
#include "LogCapture.h"
#include "config/ConfigLoader.h"

namespace {

namespace fs = std::filesystem;

class ConfigFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tandorshop-cfg-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    host::SetCurrentDir(dir_.string());
    fs::create_directories(PluginFile().parent_path());
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path PluginFile() const { return dir_ / "ArkApi/Plugins/TandorShop/config.json"; }
  void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

  fs::path dir_;
  LogCapture log_;
};

TEST_F(ConfigFile, MissingFileFailsWithItsMessage) {
  nlohmann::json config;
  EXPECT_FALSE(ConfigHelper::LoadConfigFile(config));
  EXPECT_EQ(log_.Count("[error] Can't open plugin config.json"), 1u);
}

TEST_F(ConfigFile, SyntaxErrorFailsWithTheParserMessage) {
  Write(PluginFile(), "{\"General\": { // comments are not JSON\n}}");
  nlohmann::json config;
  EXPECT_FALSE(ConfigHelper::LoadConfigFile(config));
  EXPECT_EQ(log_.Count("[error] [json.exception.parse_error"), 1u);
}

TEST_F(ConfigFile, OverwriteIsFollowedOnceAndEmptyMeansAbsent) {
  Write(PluginFile(), R"({"ConfigPathOverwrite": "", "General": {"ShopName": "local"}})");
  nlohmann::json config;
  ASSERT_TRUE(ConfigHelper::LoadConfigFile(config));
  EXPECT_EQ(config["General"]["ShopName"], "local");

  const fs::path second = dir_ / "second.json";
  const fs::path third = dir_ / "third.json";
  Write(third, R"({"General": {"ShopName": "third"}})");
  Write(second, R"({"ConfigPathOverwrite": ")" + third.string() + R"(", "General": {"ShopName": "shared"}})");
  Write(PluginFile(), R"({"ConfigPathOverwrite": ")" + second.string() + R"(", "General": {"ShopName": "local"}})");
  nlohmann::json redirected;
  ASSERT_TRUE(ConfigHelper::LoadConfigFile(redirected));
  EXPECT_EQ(redirected["General"]["ShopName"], "shared");
}

TEST_F(ConfigFile, BrokenOrMissingOverwriteFailsWithoutFallingBack) {
  const fs::path shared = dir_ / "shared.json";
  Write(shared, "{ not json");
  Write(PluginFile(), R"({"ConfigPathOverwrite": ")" + shared.string() + R"(", "General": {}})");
  nlohmann::json config;
  EXPECT_FALSE(ConfigHelper::LoadConfigFile(config));

  Write(PluginFile(), R"({"ConfigPathOverwrite": "/nonexistent/config.json", "General": {}})");
  EXPECT_FALSE(ConfigHelper::LoadConfigFile(config));
  EXPECT_EQ(log_.Count("[error] Can't open config.json from overwrite"), 1u);
}

// A relative path is taken from the server's folder, wherever the process was started.
TEST_F(ConfigFile, ARelativeOverwriteResolvesAgainstTheServersFolder) {
  fs::create_directories(dir_ / "cluster");
  Write(dir_ / "cluster/shop.json", R"({"General": {"ShopName": "cluster"}})");
  Write(PluginFile(), R"({"ConfigPathOverwrite": "cluster/shop.json", "General": {"ShopName": "local"}})");
  ASSERT_NE(fs::current_path(), dir_);
  nlohmann::json config;
  ASSERT_TRUE(ConfigHelper::LoadConfigFile(config));
  EXPECT_EQ(config["General"]["ShopName"], "cluster");
}

TEST_F(ConfigFile, AnOverwriteThatIsNotTextFailsTheLoad) {
  for (const char* value : {"5", "null", "[\"a.json\"]"}) {
    Write(PluginFile(), std::string(R"({"ConfigPathOverwrite": )") + value + R"(, "General": {}})");
    nlohmann::json config;
    EXPECT_FALSE(ConfigHelper::LoadConfigFile(config)) << value;
  }
  EXPECT_EQ(log_.Count("[error] type must be string, but is number (key \"ConfigPathOverwrite\")"), 1u);
}

}  // namespace
