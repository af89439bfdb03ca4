#pragma once
// What the clock is doing now, as other systems are told it (the API's status, MQTT's state).
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/moments.h"

namespace chimewell {

struct ClockStatus {
  std::string next_event;              // the status line's words for it; empty: none
  std::optional<WallMoment> next_due;  // when it is heard
  bool muted = false;
  bool paused = false;
  bool quiet = false;                 // in the quiet hours now
  bool busy = false;                  // a call or Do Not Disturb holds announcements back
  size_t queued = 0;                  // messages from other systems not yet spoken
  std::vector<std::string> problems;  // what keeps the clock from working as set up
  std::string version;
};

}  // namespace chimewell
