#pragma once
// What the clock publishes for Home Assistant: its discovery messages (a device with a notify
// entity, a button, a switch, two sensors and a binary sensor) and its state.
#include <string>
#include <vector>

#include "app/clock_status.h"
#include "mqtt/mqtt_topics.h"

namespace chimewell {

struct RetainedMessage {
  std::string topic;
  std::string payload;
};

// One config message for each entity, under homeassistant/<component>/chimewell_<name>/.
std::vector<RetainedMessage> DiscoveryMessages(const std::string& name, const std::string& version);

// The state topic's JSON: muted, paused, quiet, busy, queued, next_at (ISO 8601 or null) and
// next_event (the status line's words).
std::string MqttStateJson(const ClockStatus& status);

}  // namespace chimewell
