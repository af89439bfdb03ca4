#pragma once
// The in-memory log: time-stamped lines, shown in the debug block of the configuration page.
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

class Clock;

class Log {
 public:
  // The log keeps the newest lines only, so a program running for months, or a flood of
  // requests in debug mode, stays small: at most this many lines and bytes in all.
  static constexpr size_t kMaxLines = 10000;
  static constexpr size_t kMaxBytes = 1024 * 1024;

  explicit Log(const Clock& clock, size_t max_lines = kMaxLines, size_t max_bytes = kMaxBytes);

  // Appends "hh:nn.ss.zzz " + text, stamped with the clock's local time.
  void AddLogLine(const std::string& text);
  // Appends a line as it stands, without a time stamp. A line longer than the whole log may
  // be is cut to fit.
  void AddRawLine(std::string line);
  // A copy of every kept line, oldest first. Safe from any thread.
  std::vector<std::string> Lines() const;

 private:
  const Clock& clock_;
  const size_t max_lines_;
  const size_t max_bytes_;
  mutable std::mutex mutex_;
  std::deque<std::string> lines_;
  size_t bytes_ = 0;
};

// `text` cut after `max_chars` characters (UTF-8 code points) with "…" in place of the rest;
// as it stands when it is not longer.
std::string ShortenForLog(std::string_view text, size_t max_chars);

}  // namespace chimewell
