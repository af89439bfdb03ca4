#pragma once
// The topics of one clock on the bus, all under chimewell/<name>/, and the one every clock
// listens to.
#include <string>

namespace chimewell {

struct MqttTopics {
  explicit MqttTopics(const std::string& name)
      : say("chimewell/" + name + "/say"),
        time("chimewell/" + name + "/time"),
        mute("chimewell/" + name + "/mute"),
        availability("chimewell/" + name + "/availability"),
        state("chimewell/" + name + "/state") {}

  static constexpr const char* kAllSay = "chimewell/all/say";
  static constexpr const char* kOnline = "online";
  static constexpr const char* kOffline = "offline";

  std::string say;
  std::string time;
  std::string mute;
  std::string availability;
  std::string state;
};

}  // namespace chimewell
