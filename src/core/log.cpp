#include "core/log.h"

#include "core/clock.h"
#include "core/datetime.h"

namespace chimewell {
namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

Log::Log(const Clock& clock, size_t max_lines, size_t max_bytes)
    : clock_(clock), max_lines_(max_lines), max_bytes_(max_bytes) {}

void Log::AddLogLine(const std::string& text) {
  AddRawLine(FormatDateTime("hh:nn.ss.zzz ", clock_.Now()) + text);
}

void Log::AddRawLine(std::string line) {
  if (line.size() > max_bytes_) {
    // Room for the "…", and no character cut in half.
    size_t cut = max_bytes_ > 3 ? max_bytes_ - 3 : 0;
    while (cut > 0 && IsUtf8Continuation(line[cut])) --cut;
    line.resize(cut);
    line += "…";
  }
  const std::lock_guard lock(mutex_);
  bytes_ += line.size();
  lines_.push_back(std::move(line));
  while (lines_.size() > max_lines_ || bytes_ > max_bytes_) {
    bytes_ -= lines_.front().size();
    lines_.pop_front();
  }
}

std::vector<std::string> Log::Lines() const {
  const std::lock_guard lock(mutex_);
  return {lines_.begin(), lines_.end()};
}

std::string ShortenForLog(std::string_view text, size_t max_chars) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsUtf8Continuation(text[i])) continue;
    if (chars++ == max_chars) return std::string(text.substr(0, i)) + "…";
  }
  return std::string(text);
}

}  // namespace chimewell
