// What a message on the clock's topics asks for, from the payloads Home Assistant and scripts
// send and from ones that are wrong.
#include <gtest/gtest.h>

#include "mqtt/mqtt_message_reader.h"

namespace chimewell {
namespace {

const WallMoment kNow = WallMoment::FromUnixMs(1'796'608'830'000);  // 2026-12-07 02:00:30 UTC
const MqttTopics kTopics("kitchen");

MqttAction Read(const std::string& topic, const std::string& payload) {
  return ReadMqttMessage(kTopics, topic, payload, kNow, std::chrono::seconds(60));
}

TEST(MqttMessage, EachTopicAndPayloadGivesItsAction) {
  using Kind = MqttAction::Kind;
  const struct {
    const char* topic;
    std::string payload;
    Kind kind;
    const char* text;
  } cases[] = {
      {"chimewell/kitchen/say", "ご飯です", Kind::kSay, "ご飯です"},
      {"chimewell/all/say", "全館放送", Kind::kSay, "全館放送"},
      {"chimewell/kitchen/say", R"({"message":"来客","title":"玄関"})", Kind::kSay, "玄関。来客"},
      {"chimewell/kitchen/say", "{not json", Kind::kSay, "{not json"},
      {"chimewell/kitchen/say", R"({"message":"新しい","sent":"2026-12-07T11:00:00+09:00"})",
       Kind::kSay, "新しい"},
      {"chimewell/kitchen/say", R"({"message":"古い","sent":"2026-12-07T10:58:00+09:00"})",
       Kind::kTooLate, "古い"},
      {"chimewell/kitchen/say", "", Kind::kInvalid, ""},
      {"chimewell/kitchen/say", "\xff\xfe", Kind::kInvalid, ""},
      {"chimewell/kitchen/say", R"({"message":3})", Kind::kInvalid, ""},
      {"chimewell/kitchen/say", R"({"message":"a","volume":0})", Kind::kInvalid, ""},
      {"chimewell/kitchen/say", R"({"message":"a","at":"soon"})", Kind::kInvalid, ""},
      {"chimewell/kitchen/say", std::string(1001, 'a'), Kind::kInvalid, ""},
      {"chimewell/kitchen/time", "PRESS", Kind::kTime, ""},
      {"chimewell/kitchen/mute", "ON", Kind::kMute, ""},
      {"chimewell/kitchen/mute", "yes", Kind::kInvalid, ""},
      {"chimewell/hall/say", "よそ", Kind::kNotOurs, ""},
  };
  for (const auto& c : cases) {
    const MqttAction action = Read(c.topic, c.payload);
    EXPECT_EQ(action.kind, c.kind) << c.topic << " " << c.payload.substr(0, 40);
    if (c.kind == Kind::kSay || c.kind == Kind::kTooLate) {
      EXPECT_EQ(action.say.text, c.text) << c.payload;
    }
    if (c.kind == Kind::kInvalid) {
      EXPECT_FALSE(action.reason.empty()) << c.payload;
    }
  }
  EXPECT_TRUE(Read("chimewell/kitchen/mute", "ON").muted);
  EXPECT_FALSE(Read("chimewell/kitchen/mute", "OFF").muted);
  EXPECT_EQ(Read("chimewell/kitchen/say", R"({"message":"a","volume":30})").say.volume, 30);
}

}  // namespace
}  // namespace chimewell
