#include "mqtt/mqtt_message_reader.h"

#include <nlohmann/json.hpp>

#include "core/iso_moment.h"
#include "core/text_encoding.h"
#include "mqtt/mqtt_texts.h"

namespace chimewell {
namespace {

using nlohmann::json;

constexpr size_t kMaxMessageChars = 1000;
constexpr size_t kMaxPayloadBytes = 16 * 1024;

MqttAction Invalid(const char* reason) {
  MqttAction action;
  action.kind = MqttAction::Kind::kInvalid;
  action.reason = reason;
  return action;
}

// Control characters become blanks, blanks around the text go.
std::string Spoken(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  }
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<std::string> StringField(const json& doc, const char* key, bool& bad) {
  const auto it = doc.find(key);
  if (it == doc.end() || it->is_null()) return std::nullopt;
  if (!it->is_string()) {
    bad = true;
    return std::nullopt;
  }
  return it->get<std::string>();
}

MqttAction ReadSay(std::string_view payload, WallMoment now, std::chrono::seconds late_limit) {
  if (payload.size() > kMaxPayloadBytes || !IsValidUtf8(payload)) {
    return Invalid(mqtt_texts::kNoMessage);
  }
  MqttAction action;
  action.kind = MqttAction::Kind::kSay;
  std::string message(payload);
  std::string title;
  std::optional<WallMoment> sent;
  const json doc = payload.starts_with('{') ? json::parse(payload, nullptr, false) : json();
  if (doc.is_object()) {
    bool bad = false;
    message = StringField(doc, "message", bad).value_or("");
    title = StringField(doc, "title", bad).value_or("");
    if (const auto at = StringField(doc, "at", bad)) {
      action.say.at = ParseIsoMoment(*at, now);
      bad = bad || !action.say.at;
    }
    if (const auto when = StringField(doc, "sent", bad)) {
      sent = ParseIsoMoment(*when, now);
      bad = bad || !sent;
    }
    if (const auto volume = doc.find("volume"); volume != doc.end() && !volume->is_null()) {
      const bool fits = volume->is_number_integer() && volume->get<long long>() >= 1 &&
                        volume->get<long long>() <= 100;
      bad = bad || !fits;
      if (fits) action.say.volume = volume->get<int>();
    }
    if (bad) return Invalid(mqtt_texts::kNoMessage);
  }
  message = Spoken(std::move(message));
  title = Spoken(std::move(title));
  if (message.empty() || Utf8Prefix(message, kMaxMessageChars).size() != message.size() ||
      Utf8Prefix(title, kMaxMessageChars).size() != title.size()) {
    return Invalid(mqtt_texts::kNoMessage);
  }
  action.say.text = title.empty() ? message : title + "。" + message;
  if (sent && now - *sent > late_limit) action.kind = MqttAction::Kind::kTooLate;
  return action;
}

}  // namespace

MqttAction ReadMqttMessage(const MqttTopics& topics, std::string_view topic,
                           std::string_view payload, WallMoment now,
                           std::chrono::seconds late_limit) {
  if (topic == topics.say || topic == MqttTopics::kAllSay) {
    return ReadSay(payload, now, late_limit);
  }
  if (topic == topics.time) return {MqttAction::Kind::kTime, {}, false, {}};
  if (topic == topics.mute) {
    if (payload == "ON" || payload == "on") return {MqttAction::Kind::kMute, {}, true, {}};
    if (payload == "OFF" || payload == "off") return {MqttAction::Kind::kMute, {}, false, {}};
    return Invalid(mqtt_texts::kBadSwitch);
  }
  return {};
}

}  // namespace chimewell
