#pragma once
// What a message on one of the clock's topics asks for. Any bytes give an action or a reason
// to drop it, never a crash.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "app/announcement.h"
#include "core/moments.h"
#include "mqtt/mqtt_topics.h"

namespace chimewell {

struct MqttAction {
  enum class Kind { kSay, kTime, kMute, kTooLate, kInvalid, kNotOurs };
  Kind kind = Kind::kNotOurs;
  Announcement say;    // kSay; kTooLate: the text passed over
  bool muted = false;  // kMute
  std::string reason;  // kInvalid
};

// `payload` on `topic`: say (plain text, or the JSON of the API with an optional "sent"
// moment), time (anything), mute ("ON"/"OFF"). A say whose "sent" lies more than
// `late_limit` before `now` is kTooLate.
MqttAction ReadMqttMessage(const MqttTopics& topics, std::string_view topic,
                           std::string_view payload, WallMoment now,
                           std::chrono::seconds late_limit);

}  // namespace chimewell
