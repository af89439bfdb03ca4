#include "webpage/page_render.h"

#include "platform/file_system.h"
#include "webpage/page_texts.h"

namespace chimewell {
namespace {

// The template's bytes as UTF-8 page text.
// TODO(encoding): a template saved as CP932 must be decoded here once the shared text decoder
// is available (core/text_encoding.h: IsValidUtf8 ? text : Cp932ToUtf8(text)). This is the only
// place that needs to change.
std::string DecodeTemplate(std::string bytes) { return bytes; }

}  // namespace

void ReplacementList::Add(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append(1, '\t').append(value);
  lines_.push_back(std::move(line));
}

std::string NormaliseLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      out.append(text.substr(start)).append("\r\n");
      break;
    }
    out.append(text.substr(start, end - start)).append("\r\n");
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return out;
}

std::string ApplyReplacements(std::string page, const ReplacementList& list) {
  for (const std::string& line : list.Lines()) {
    const std::string_view whole = line;
    const size_t tab = whole.find('\t');
    const std::string_view key = whole.substr(0, tab);
    if (key.empty()) continue;
    const std::string_view value =
        tab == std::string_view::npos ? std::string_view() : whole.substr(tab + 1);
    const size_t at = page.find(key);
    if (at != std::string::npos) page.replace(at, key.size(), value);
  }
  return page;
}

std::string RenderPage(const FileSystem& files, const std::string& template_path,
                       const ReplacementList& list) {
  std::optional<std::string> bytes = files.ReadFile(template_path);
  std::string page = bytes ? NormaliseLineEnds(DecodeTemplate(std::move(*bytes)))
                           : std::string(page_texts::kMissingTemplatePage);
  return ApplyReplacements(std::move(page), list);
}

}  // namespace chimewell
