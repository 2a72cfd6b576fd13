// The report's page in Debian's headless Chromium (driven by report-page.mjs):
// it opens from a file without errors and without a single request, and every
// chart is drawn by the chart library. TANDORSHOP_SCREENSHOT keeps the picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "ReportRun.h"

namespace {

using nlohmann::json;

TEST(ReportPageInBrowser, OpensOfflineWithoutErrorsAndDrawsEveryChart) {
  reporttest::Economy economy;
  const std::string page = testing::TempDir() + "economy-report.html";
  std::vector<std::string> arguments = reporttest::ConnectionFlags(economy.Prefix());
  arguments.insert(arguments.end(), {"--since", "60d", "--out", page});
  const reporttest::RunResult run = reporttest::RunReport(arguments);
  ASSERT_EQ(run.Status, 0) << run.Errors;

  const char* keep = std::getenv("TANDORSHOP_SCREENSHOT");
  const std::string screenshot = keep != nullptr ? keep : testing::TempDir() + "economy-report.png";
  const std::string command = std::string("node '") + TANDORSHOP_REPORT_PAGE_SCRIPT + "' '" + page + "' '" +
                              screenshot + "' '" + TANDORSHOP_BROWSER_MODULES + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  ASSERT_EQ(::pclose(pipe), 0) << output;
  const json seen = json::parse(output.substr(output.find('{')));
  EXPECT_FALSE(seen.contains("failure")) << seen["failure"];
  EXPECT_EQ(seen["pageErrors"], json::array());
  EXPECT_EQ(seen["consoleErrors"], json::array());
  EXPECT_EQ(seen["requests"], json::array()) << "the page fetches nothing";
  // The made-up economy holds rows out of range on purpose; the page names them.
  for (const json& note : seen["notes"])
    EXPECT_NE(note.get<std::string>().find("hold values out of range"), std::string::npos) << note;
  ASSERT_EQ(seen["charts"].size(), 8u);
  EXPECT_EQ(seen["chartCount"], 8);
  for (const json& chart : seen["charts"]) {
    EXPECT_TRUE(chart["chart"].get<bool>()) << chart;
    EXPECT_GT(chart["points"].get<int>(), 0) << chart;
    EXPECT_GT(chart["painted"].get<int>(), 1000) << chart;
  }
  for (const json& section : seen["tables"]) {
    if (section["id"] == "circulation") continue;  // a chart and its figures only
    EXPECT_GT(section["rows"].get<int>(), 0) << section["id"] << " has a table with rows";
  }
  std::ifstream picture(screenshot, std::ios::binary | std::ios::ate);
  EXPECT_GT(picture.tellg(), 10000) << screenshot;
}

}  // namespace
