#pragma once
// The clock's status as JSON, the same for the HTTP API and the MQTT state topic.
#include <string>

#include "app/clock_status.h"

namespace chimewell {

// {"next": {"text", "at"} or null, "muted", "paused", "quiet", "busy", "queued",
//  "problems": [...], "version"}; moments in ISO 8601 with this machine's offset.
std::string ClockStatusJson(const ClockStatus& status);

}  // namespace chimewell
