#pragma once
// The report's three forms; all hold the same figures.
#include <string>

#include <nlohmann/json.hpp>

namespace report {

std::string JsonText(const nlohmann::json& report);
// One line per figure: table,row,field,value (row is the 1-based index in a list, empty otherwise).
std::string CsvText(const nlohmann::json& report);
// The self-contained page: the figures, the chart library and its license, the page's script.
std::string HtmlText(const nlohmann::json& report);

}  // namespace report
