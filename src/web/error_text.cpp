#include "web/error_text.h"

#include <array>
#include <utility>

#include "core/html_escape.h"
#include "web/handler_texts.h"

namespace chimewell {
namespace {

constexpr std::string_view kBreak = "<BR>";
constexpr std::string_view kEscapedBreak = "&lt;BR&gt;";

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

}  // namespace

std::string EscapeReportKeepingBreaks(std::string_view report) {
  std::string escaped = HtmlEscape(report);
  ReplaceAll(escaped, kEscapedBreak, kBreak);
  return escaped;
}

std::string PanelErrorText(std::string_view error_text) {
  std::string text(error_text);
  ReplaceAll(text, kBreak, handler_texts::kPanelLineEnd);
  // The references HtmlEscape writes; "&amp;" last so that "&amp;lt;" stays "&lt;".
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kReferences = {{
      {"&lt;", "<"},
      {"&gt;", ">"},
      {"&quot;", "\""},
      {"&#39;", "'"},
      {"&#36;", "$"},
      {"&amp;", "&"},
  }};
  for (const auto& [reference, character] : kReferences) ReplaceAll(text, reference, character);
  return text;
}

std::string SpokenErrorText(std::string_view panel_text) {
  return std::string(panel_text.substr(0, panel_text.find('\r')));
}

}  // namespace chimewell
