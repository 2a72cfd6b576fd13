#include "PageAssets.h"
#include "Writers.h"

namespace report {
namespace {

void Replace(std::string& page, const std::string& mark, const std::string& text) {
  const std::size_t at = page.find(mark);
  if (at != std::string::npos) page.replace(at, mark.size(), text);
}

std::string EscapeHtml(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

// JSON inside a script element: no "</" may end it early.
std::string ScriptSafe(std::string json) {
  for (std::size_t at = json.find("</"); at != std::string::npos; at = json.find("</", at + 3))
    json.replace(at, 2, "<\\/");
  for (std::size_t at = json.find("<!--"); at != std::string::npos; at = json.find("<!--", at + 4))
    json.replace(at, 4, "<\\!--");
  return json;
}

}  // namespace

std::string HtmlText(const nlohmann::json& report) {
  std::string page = kPageHtml;
  // The figures go in last so that no text in them is taken for a mark.
  Replace(page, "/*@CSS@*/", kPageCss);
  Replace(page, "@LICENSE@", EscapeHtml(kChartJsLicense));
  Replace(page, "/*@CHARTJS@*/", kChartJs);
  Replace(page, "/*@SCRIPT@*/", kPageJs);
  Replace(page, "@DATA@", ScriptSafe(report.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)));
  return page;
}

}  // namespace report
