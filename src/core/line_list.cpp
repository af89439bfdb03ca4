#include "core/line_list.h"

namespace chimewell {

LineList::LineList(std::initializer_list<std::string_view> lines) {
  for (const std::string_view line : lines) Append(line);
}

void LineList::Reserve(size_t lines, size_t bytes) {
  ends_.reserve(lines);
  text_.reserve(bytes);
}

void LineList::Append(std::string_view line) {
  text_.append(line);
  CloseLine();
}

std::string_view LineList::operator[](size_t i) const {
  const size_t begin = i == 0 ? 0 : ends_[i - 1];
  return std::string_view(text_).substr(begin, ends_[i] - begin);
}

std::string JoinedLines(const LineList& lines) {
  std::string text;
  for (const std::string_view line : lines) text.append(line).append("\n");
  return text;
}

}  // namespace chimewell
