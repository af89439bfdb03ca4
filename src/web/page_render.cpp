#include "web/page_render.h"

#include "core/text_encoding.h"
#include "platform/file_system.h"
#include "web/page_piece_table.h"
#include "web/page_texts.h"

namespace chimewell {
namespace {

// The template's bytes as UTF-8 page text: a template saved as CP932 (Shift-JIS) is converted,
// and a UTF-8 byte-order mark is dropped.
std::string DecodeTemplate(std::string_view bytes) { return DecodeFileText(bytes); }

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
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out.append(text.substr(start, i - start)).append("\r\n");
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) out.append(text.substr(start)).append("\r\n");
  return out;
}

std::string ApplyReplacements(std::string page, const ReplacementList& list) {
  PieceTable text(page);
  for (const std::string& line : list.Lines()) {
    const std::string_view whole = line;
    const size_t tab = whole.find('\t');
    const std::string_view key = whole.substr(0, tab);
    if (key.empty()) continue;
    const std::string_view value =
        tab == std::string_view::npos ? std::string_view() : whole.substr(tab + 1);
    text.ReplaceFirst(key, value);
  }
  return text.Join();
}

std::string RenderPage(const FileSystem& files, const std::string& template_path,
                       const ReplacementList& list) {
  std::optional<std::string> bytes = files.ReadFile(template_path, FileKind::kPage);
  std::string page = bytes ? NormaliseLineEnds(DecodeTemplate(*bytes))
                           : std::string(page_texts::kMissingTemplatePage);
  return ApplyReplacements(std::move(page), list);
}

}  // namespace chimewell
