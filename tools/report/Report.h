#pragma once
// Reads every section from an open database into the report's JSON.
#include <cstdint>

#include <nlohmann/json.hpp>

#include "Options.h"
#include "ReportDatabase.h"

namespace report {

struct ReadOutcome {
  nlohmann::json Report;
  bool Complete = true;  // false: a table was missing, of another version, or a query failed
};

ReadOutcome ReadReport(Database& db, const Options& options, int64_t now, const char* version);

}  // namespace report
