#include "config/ReadReport.h"

#include <algorithm>

#include "config/CatalogueTrail.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

thread_local ReadReport* CurrentReport = nullptr;

void Record(ProblemKind kind, std::string entry, std::string text) {
  if (CurrentReport != nullptr) CurrentReport->Problems.push_back({kind, std::move(entry), std::move(text)});
}

int CountOf(const ReadReport& report, ProblemKind kind) {
  return static_cast<int>(std::count_if(report.Problems.begin(), report.Problems.end(),
                                        [kind](const ConfigProblem& p) { return p.Kind == kind; }));
}

}  // namespace

int ReadReport::Errors() const { return CountOf(*this, ProblemKind::Error); }
int ReadReport::Warnings() const { return CountOf(*this, ProblemKind::Warning); }

ReportScope::ReportScope(ReadReport& report) : previous_(CurrentReport) { CurrentReport = &report; }
ReportScope::~ReportScope() { CurrentReport = previous_; }

void Warn(const std::string& text) {
  TandorShop::Log().warn(text);
  Record(ProblemKind::Warning, CurrentEntryTrail(), text);
}

void ReportError(const std::string& entry, const std::string& text) {
  if (entry.empty())
    TandorShop::Log().warn("Error in ShopConfig {}", text);
  else
    TandorShop::Log().warn("Error in ShopConfig {}: {}", entry, text);
  Record(ProblemKind::Error, entry, text);
}

void RecordError(const std::string& entry, const std::string& text) { Record(ProblemKind::Error, entry, text); }

bool ReadGuarded(const std::string& where, const std::function<void()>& read) {
  ResetFailedEntryTrail();
  try {
    read();
    return true;
  } catch (const std::exception& e) {
    const std::string failed = FailedEntryTrail();
    ReportError(failed.empty() ? where : failed, e.what());
    return false;
  }
}

}  // namespace ConfigHelper
