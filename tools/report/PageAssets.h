#pragma once
// The page's own template, style and script and the vendored chart library with
// its license, built into the program (see Embed.cmake).
namespace report {
extern const char kPageHtml[];
extern const char kPageCss[];
extern const char kPageJs[];
extern const char kChartJs[];
extern const char kChartJsLicense[];
}  // namespace report
