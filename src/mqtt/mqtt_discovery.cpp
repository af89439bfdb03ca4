#include "mqtt/mqtt_discovery.h"

#include <nlohmann/json.hpp>

#include "core/iso_moment.h"
#include "mqtt/mqtt_texts.h"

namespace chimewell {
namespace {

using nlohmann::json;

std::string Dump(const json& doc) {
  return doc.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

std::vector<RetainedMessage> DiscoveryMessages(const std::string& name,
                                               const std::string& version) {
  const MqttTopics topics(name);
  const std::string node = "chimewell_" + name;
  const json device = {{"identifiers", {node}},
                       {"name", "Chimewell " + name},
                       {"manufacturer", "Chimewell"},
                       {"model", "Chimewell"},
                       {"sw_version", version}};
  // What every entity carries: its own id, the device, and when it is available.
  const auto entity = [&](const char* object, const char* label) {
    return json{{"name", label},
                {"unique_id", node + "_" + object},
                {"object_id", node + "_" + object},
                {"device", device},
                {"availability_topic", topics.availability},
                {"payload_available", MqttTopics::kOnline},
                {"payload_not_available", MqttTopics::kOffline}};
  };
  const auto config = [&](const char* component, const char* object, json doc) {
    return RetainedMessage{
        std::string("homeassistant/") + component + "/" + node + "/" + object + "/config",
        Dump(doc)};
  };

  json say = entity("say", mqtt_texts::kEntitySay);
  say["command_topic"] = topics.say;
  say["qos"] = 1;

  json time = entity("time", mqtt_texts::kEntityTime);
  time["command_topic"] = topics.time;
  time["payload_press"] = "PRESS";
  time["qos"] = 1;

  json mute = entity("mute", mqtt_texts::kEntityMute);
  mute["command_topic"] = topics.mute;
  mute["state_topic"] = topics.state;
  mute["value_template"] = "{{ 'ON' if value_json.muted else 'OFF' }}";
  mute["payload_on"] = "ON";
  mute["payload_off"] = "OFF";
  mute["state_on"] = "ON";
  mute["state_off"] = "OFF";
  mute["qos"] = 1;

  json next_at = entity("next_at", mqtt_texts::kEntityNextAt);
  next_at["state_topic"] = topics.state;
  next_at["value_template"] = "{{ value_json.next_at }}";
  next_at["device_class"] = "timestamp";

  json next = entity("next", mqtt_texts::kEntityNext);
  next["state_topic"] = topics.state;
  next["value_template"] = "{{ value_json.next_event }}";

  json busy = entity("busy", mqtt_texts::kEntityBusy);
  busy["state_topic"] = topics.state;
  busy["value_template"] = "{{ 'ON' if value_json.busy else 'OFF' }}";
  busy["payload_on"] = "ON";
  busy["payload_off"] = "OFF";

  return {config("notify", "say", say),   config("button", "time", time),
          config("switch", "mute", mute), config("sensor", "next_at", next_at),
          config("sensor", "next", next), config("binary_sensor", "busy", busy)};
}

std::string MqttStateJson(const ClockStatus& status) {
  return Dump({{"muted", status.muted},
               {"paused", status.paused},
               {"quiet", status.quiet},
               {"busy", status.busy},
               {"queued", status.queued},
               {"next_at", status.next_due ? json(FormatIsoMoment(*status.next_due)) : json()},
               {"next_event", status.next_event}});
}

}  // namespace chimewell
