#include "app/message_panel.h"

namespace chimewell {

void MessagePanel::Show(const std::string& text, uint32_t tick_now) {
  text_ = visible_ ? text_ + "\r\n" + text : text;
  deadline_ = tick_now + kShowMs;
  visible_ = true;
}

bool MessagePanel::HideIfExpired(uint32_t tick_now) {
  // The signed difference is positive once the deadline has passed, however often the
  // tick count has wrapped since the machine started.
  if (!visible_ || static_cast<int32_t>(tick_now - deadline_) <= 0) return false;
  visible_ = false;
  return true;
}

}  // namespace chimewell
