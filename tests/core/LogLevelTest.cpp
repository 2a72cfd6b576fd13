// The plugin's log level from TANDORSHOP_LOG_LEVEL: debug lines (each retried
// transaction) appear only when asked for; a name the logger does not know
// keeps the usual level instead of silencing the log.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <memory>
#include <sstream>
#include <string>

#include <spdlog/sinks/ostream_sink.h>

#include "core/Log.h"

namespace {

// What the plugin's logger writes at debug and at info, with the environment as given.
std::string LoggedWith(const char* level) {
  if (level == nullptr) ::unsetenv("TANDORSHOP_LOG_LEVEL");
  else ::setenv("TANDORSHOP_LOG_LEVEL", level, 1);
  TandorShop::CreateLogger();
  std::ostringstream out;
  auto sink = std::make_shared<spdlog::sinks::ostream_sink_st>(out);
  sink->set_pattern("[%l] %v");
  TandorShop::Log().sinks().push_back(sink);
  TandorShop::Log().debug("chargePurchase: try 2 after error 1213");
  TandorShop::Log().info("Loaded");
  TandorShop::Log().sinks().pop_back();
  TandorShop::DestroyLogger();
  ::unsetenv("TANDORSHOP_LOG_LEVEL");
  return out.str();
}

TEST(LogLevel, DebugLinesOnlyWhenAskedForAndUnknownNamesKeepInfo) {
  EXPECT_EQ(LoggedWith(nullptr), "[info] Loaded\n");
  EXPECT_EQ(LoggedWith("debug"), "[debug] chargePurchase: try 2 after error 1213\n[info] Loaded\n");
  EXPECT_EQ(LoggedWith("loud"), "[info] Loaded\n");
  EXPECT_EQ(LoggedWith("warn"), "");
}

}  // namespace
