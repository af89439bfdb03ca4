#include "app/message_panel.h"

#include <string_view>

#include "app/texts.h"

namespace chimewell {

void MessagePanel::Show(const std::string& text, uint32_t tick_now) {
  if (!visible_) {
    lines_.clear();
    dropped_ = 0;
  }
  // A message of several lines counts as that many lines.
  std::string_view rest = text;
  for (size_t end; (end = rest.find("\r\n")) != std::string_view::npos;) {
    AddLine(std::string(rest.substr(0, end)));
    rest.remove_prefix(end + 2);
  }
  AddLine(std::string(rest));
  deadline_ = tick_now + kShowMs;
  visible_ = true;
}

void MessagePanel::AddLine(std::string line) {
  lines_.push_back(std::move(line));
  if (lines_.size() > kMaxLines) {
    lines_.pop_front();
    ++dropped_;
  }
}

std::string MessagePanel::Text() const {
  std::string text;
  bool first = true;
  if (dropped_ > 0) {
    text = texts::PanelDroppedLines(dropped_);
    first = false;
  }
  for (const std::string& line : lines_) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

bool MessagePanel::HideIfExpired(uint32_t tick_now) {
  // The signed difference is positive once the deadline has passed, however often the
  // tick count has wrapped since the machine started.
  if (!visible_ || static_cast<int32_t>(tick_now - deadline_) <= 0) return false;
  visible_ = false;
  return true;
}

}  // namespace chimewell
