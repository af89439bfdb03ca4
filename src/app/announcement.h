#pragma once
// A message another system asked the clock to speak, and what the asker is told back.
#include <cstdint>
#include <optional>
#include <string>

#include "core/moments.h"

namespace chimewell {

struct Announcement {
  std::string text;              // spoken as written, no template expansion
  std::optional<int> volume;     // 1..100; none: the default volume
  std::optional<WallMoment> at;  // placed on this moment like a scheduled entry; none: now
};

// Why a message was not taken.
enum class AnnouncementRefusal { kQueueFull, kMomentPassed, kEnding };

struct AnnouncementAccepted {
  uint64_t id = 0;
  WallMoment due;  // when it is to be heard at the earliest
};

// Either the message's number and moment, or why it was refused.
struct AnnouncementResult {
  std::optional<AnnouncementAccepted> accepted;
  AnnouncementRefusal refusal = AnnouncementRefusal::kQueueFull;
};

}  // namespace chimewell
