// tandorshop-report: the shop's economy at a glance, read straight from its
// database. Usage and exit codes: see kUsageText in Options.cpp.
#include <chrono>
#include <cstdio>
#include <fstream>

#include "Options.h"
#include "Report.h"
#include "ReportDatabase.h"
#include "Writers.h"
#include "core/Version.h"

namespace {

enum ExitCode { Written = 0, Partial = 1, NoReport = 2, BadUsage = 64 };

int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

bool Write(const std::string& text, const std::string& path) {
  if (path.empty() || path == "-") {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return file.good();
}

int64_t RowsInPeriod(const nlohmann::json& report, const char* table) {
  const auto rows = report.find("rows");
  if (rows == report.end() || !rows->is_object() || !rows->contains(table)) return 0;
  const nlohmann::json& counts = (*rows)[table];
  return counts.is_object() ? counts.value("inPeriod", int64_t{0}) : 0;
}

int Run(int argc, char** argv) {
  const int64_t now = NowSeconds();
  report::Options options;
  std::string error;
  if (!report::ParseOptions(argc, argv, now, options, error)) {
    std::fprintf(stderr, "tandorshop-report: %s\n%s", error.c_str(), report::kUsageText);
    return BadUsage;
  }
  if (options.Help) {
    std::fputs(report::kUsageText, stdout);
    return Written;
  }
  if (options.Version) {
    std::printf("tandorshop-report %s\n", TandorShop::ProjectVersion);
    return Written;
  }
  std::unique_ptr<report::Database> db = report::Database::Open(options.Db, error);
  if (db == nullptr) {
    std::fprintf(stderr, "tandorshop-report: cannot connect to the database %s: %s\n", options.Db.Database.c_str(),
                 error.c_str());
    return NoReport;
  }
  const report::ReadOutcome outcome = report::ReadReport(*db, options, now, TandorShop::ProjectVersion);
  db.reset();
  const std::string text = options.Output == report::Format::Json  ? report::JsonText(outcome.Report)
                           : options.Output == report::Format::Csv ? report::CsvText(outcome.Report)
                                                                   : report::HtmlText(outcome.Report);
  if (!Write(text, options.OutFile)) {
    std::fprintf(stderr, "tandorshop-report: cannot write %s\n", options.OutFile.c_str());
    return NoReport;
  }
  for (const auto& note : outcome.Report["notes"]) std::fprintf(stderr, "tandorshop-report: %s\n", note.get<std::string>().c_str());
  std::fprintf(stderr, "tandorshop-report: %lld shop log and %lld trade log rows in the period, read in %.1f s%s%s\n",
               static_cast<long long>(RowsInPeriod(outcome.Report, "shoplog")),
               static_cast<long long>(RowsInPeriod(outcome.Report, "tradelog")),
               outcome.Report["report"]["readSeconds"].get<double>(), options.OutFile.empty() ? "" : "; written to ",
               options.OutFile.c_str());
  return outcome.Complete ? Written : Partial;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tandorshop-report: %s\n", e.what());
    return NoReport;
  }
}
