#include "core/log.h"

#include "core/datetime.h"
#include "platform/clock.h"

namespace chimewell {

Log::Log(const Clock& clock, size_t max_lines) : clock_(clock), max_lines_(max_lines) {}

void Log::AddLogLine(const std::string& text) {
  AddRawLine(FormatDateTime("hh:nn.ss.zzz ", clock_.Now()) + text);
}

void Log::AddRawLine(const std::string& line) {
  const std::lock_guard lock(mutex_);
  lines_.push_back(line);
  while (lines_.size() > max_lines_) lines_.pop_front();
}

std::vector<std::string> Log::Lines() const {
  const std::lock_guard lock(mutex_);
  return {lines_.begin(), lines_.end()};
}

}  // namespace chimewell
