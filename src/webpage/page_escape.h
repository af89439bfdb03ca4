#pragma once
// Escaping of texts that reach the configuration page from settings, files or the request:
// HTML escaping, plus "$" so that no such text can complete or imitate a page placeholder.
#include <string>
#include <string_view>

namespace chimewell {

// Escapes & < > " ' so the text shows as text in element content and in quoted attributes,
// and "$" so that a user's text can never be taken for a page placeholder.
std::string EscapePageText(std::string_view text);
// The same, appended to `out`.
void AppendPageText(std::string& out, std::string_view text);

}  // namespace chimewell
