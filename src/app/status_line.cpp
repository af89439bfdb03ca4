#include "app/status_line.h"

#include "app/texts.h"

namespace chimewell {

std::string BuildStatusLine(const MenuState& menu, const std::optional<std::string>& text,
                            const std::string& next_event_text, const std::string& waiting) {
  std::string flags;
  if (menu.Muted()) flags += texts::kMutedMark;
  if (menu.Paused()) flags += texts::kPausedMark;
  switch (menu.CountItem()) {
    case MenuItem::PM_TempCount05: flags += texts::kCount05Mark; break;
    case MenuItem::PM_TempCount10: flags += texts::kCount10Mark; break;
    case MenuItem::PM_TempCount15: flags += texts::kCount15Mark; break;
    case MenuItem::PM_TempCount30: flags += texts::kCount30Mark; break;
    case MenuItem::PM_TempCount60: flags += texts::kCount60Mark; break;
    default: break;
  }
  if (!waiting.empty()) flags += " " + waiting;
  return flags + " " + (text ? *text : next_event_text);
}

}  // namespace chimewell
