#include "web/problem_list.h"

#include <algorithm>

#include "core/html_escape.h"
#include "core/text_encoding.h"
#include "web/form_texts.h"

namespace chimewell {

std::string ProblemListHtml(std::string_view heading, const std::vector<std::string>& problems) {
  constexpr size_t kListedProblems = 20;
  std::string text(heading);
  const size_t listed = std::min(problems.size(), kListedProblems);
  for (size_t i = 0; i < listed; ++i) text += "<BR>\r\n" + HtmlEscape(problems[i]);
  if (problems.size() > listed) {
    text += "<BR>\r\n" + form_texts::MoreProblems(problems.size() - listed);
  }
  return text;
}

LineList TextAreaLines(std::string_view sent) {
  const std::string valid = ToValidUtf8(sent);
  const std::string_view contents = valid;
  LineList lines;
  size_t start = 0;
  while (start < contents.size()) {
    const size_t end = contents.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.Append(contents.substr(start));
      break;
    }
    lines.Append(contents.substr(start, end - start));
    start = end + 1;
    if (contents[end] == '\r' && start < contents.size() && contents[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace chimewell
