#pragma once
// Mistakes the reader accepts but that an admin almost certainly did not mean:
// duplicate names, prices and amounts that make no sense, reward packets that
// are granted again at every login, and the classes that only the game can
// check. Found on the parsed document, so that each is named under its entry as
// written in the file.
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "config/ReadReport.h"

namespace ConfigHelper {

// Warnings for likely mistakes; notes (Kind Note) for what cannot be checked here.
std::vector<ConfigProblem> LintConfiguration(const nlohmann::json& root);

}  // namespace ConfigHelper
