#pragma once
// The in-window message panel: lines stack up and the panel hides 5 s after the newest one.
// Only the newest lines are kept, so a flood of messages costs the same as a screenful.
#include <cstdint>
#include <deque>
#include <string>

namespace chimewell {

class MessagePanel {
 public:
  static constexpr uint32_t kShowMs = 5000;
  static constexpr size_t kMaxLines = 20;

  // Adds the text's lines below what is shown (or starts afresh when hidden); restarts the
  // 5 seconds. Past kMaxLines the oldest lines give way to a count of them.
  void Show(const std::string& text, uint32_t tick_now);
  // Hides the panel once the tick count is past the deadline, across the 32-bit wrap.
  // Returns true when this call hid it.
  bool HideIfExpired(uint32_t tick_now);
  void Hide() { visible_ = false; }

  bool Visible() const { return visible_; }
  // The kept lines, CR LF between them, under "ほか N 件" when N older lines were dropped.
  std::string Text() const;
  uint32_t Deadline() const { return deadline_; }

 private:
  void AddLine(std::string line);

  bool visible_ = false;
  std::deque<std::string> lines_;
  size_t dropped_ = 0;
  uint32_t deadline_ = 0;
};

}  // namespace chimewell
