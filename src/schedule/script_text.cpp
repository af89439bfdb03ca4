#include "schedule/script_text.h"

#include "core/text_encoding.h"
#include "core/text_file.h"

namespace chimewell {

LineList ScriptLinesFromBytes(std::string_view bytes) {
  const std::string text = DecodeFileText(bytes);
  LineList lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.Append(line);
    start = end + 1;
  }
  return lines;
}

std::string ScheduleFileText(const LineList& lines) {
  std::string text;
  for (const std::string_view line : lines) text.append(line).append("\r\n");
  return text;
}

EncodingChange SaveScheduleFile(const std::filesystem::path& path, const LineList& lines) {
  return ReplaceTextFile(path, ScheduleFileText(lines));
}

}  // namespace chimewell
