#pragma once
// HTML escaping of texts that reach the page from settings, files or the request.
#include <string>
#include <string_view>

namespace chimewell {

// Escapes & < > " ' so the text shows as text in element content and in quoted attributes,
// and "$" so that a user's text can never be taken for a page placeholder.
std::string HtmlEscape(std::string_view text);
void AppendHtmlEscaped(std::string& out, std::string_view text);

}  // namespace chimewell
