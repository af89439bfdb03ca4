#pragma once
// The in-window message panel: lines stack up and the panel hides 5 s after the newest one.
#include <cstdint>
#include <string>

namespace chimewell {

class MessagePanel {
 public:
  static constexpr uint32_t kShowMs = 5000;

  // Adds a line below what is shown (or starts afresh when hidden); restarts the 5 seconds.
  void Show(const std::string& text, uint32_t tick_now);
  // Hides the panel once the tick count is past the deadline, across the 32-bit wrap.
  // Returns true when this call hid it.
  bool HideIfExpired(uint32_t tick_now);
  void Hide() { visible_ = false; }

  bool Visible() const { return visible_; }
  const std::string& Text() const { return text_; }
  uint32_t Deadline() const { return deadline_; }

 private:
  bool visible_ = false;
  std::string text_;
  uint32_t deadline_ = 0;
};

}  // namespace chimewell
