#pragma once
// The in-memory log: time-stamped lines, shown in the debug block of the configuration page.
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace chimewell {

class Clock;

class Log {
 public:
  // The log keeps the newest lines only, so a program running for months stays small.
  static constexpr size_t kMaxLines = 10000;

  explicit Log(const Clock& clock, size_t max_lines = kMaxLines);

  // Appends "hh:nn.ss.zzz " + text, stamped with the clock's local time.
  void AddLogLine(const std::string& text);
  // Appends a line as it stands, without a time stamp.
  void AddRawLine(const std::string& line);
  // A copy of every kept line, oldest first. Safe from any thread.
  std::vector<std::string> Lines() const;

 private:
  const Clock& clock_;
  const size_t max_lines_;
  mutable std::mutex mutex_;
  std::deque<std::string> lines_;
};

}  // namespace chimewell
