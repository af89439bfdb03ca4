#pragma once
// The status line at the bottom of the clock window: state marks, then the next event.
#include <optional>
#include <string>

#include "app/menu_state.h"

namespace chimewell {

// Marks for mute, pause and the second count, then a blank, why the clock waits (`waiting`,
// when it does) and `text` (or `next_event_text`).
std::string BuildStatusLine(const MenuState& menu, const std::optional<std::string>& text,
                            const std::string& next_event_text, const std::string& waiting = "");

}  // namespace chimewell
