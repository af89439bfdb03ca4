#pragma once
// Escaping of text placed into an HTML page from settings, files or a request, so it shows as
// text and never as markup or as a page placeholder.
#include <string>
#include <string_view>

namespace chimewell {

// Escapes & < > " ' so the text shows as text in element content and in quoted attributes,
// and "$" so that a user's text can never be taken for a page placeholder.
std::string HtmlEscape(std::string_view text);
// The same, appended to `out`.
void AppendHtmlEscaped(std::string& out, std::string_view text);

}  // namespace chimewell
