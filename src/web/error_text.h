#pragma once
// The error text of a request: HTML for the page, plain text for the panel and speech.
#include <string>
#include <string_view>

namespace chimewell {

// Escapes a report for the page but keeps its "<BR>" line breaks as markup.
std::string EscapeReportKeepingBreaks(std::string_view report);

// The text the panel shows: every "<BR>" becomes "。" and the character references that
// escaping produced become their characters again.
std::string PanelErrorText(std::string_view error_text);

// What is spoken: the panel text cut before its first CR.
std::string SpokenErrorText(std::string_view panel_text);

}  // namespace chimewell
