#include "core/html_escape.h"

namespace chimewell {

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      // Placeholders are "$!KEY!$"; a "$" written as a character reference cannot start one,
      // and the browser still shows and submits it as "$".
      case '$':
        out += "&#36;";
        break;
      default:
        out += c;
    }
  }
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  AppendHtmlEscaped(out, text);
  return out;
}

}  // namespace chimewell
