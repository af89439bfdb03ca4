#pragma once
// The [MQTT] settings: the broker the clock talks to and the name it goes by there. Off until
// the user turns it on.
#include <filesystem>
#include <optional>
#include <string>

namespace chimewell {

struct MqttSettings {
  bool Enabled = false;
  std::string Broker;  // "mqtt://host[:port]" or "mqtts://host[:port]"
  std::string User;
  std::string Password;            // kept as given: the broker asks for it itself
  std::string Name = "chimewell";  // this clock's name in the topics

  bool operator==(const MqttSettings&) const = default;
};

// Where a broker address points.
struct BrokerAddress {
  std::string host;
  int port = 1883;
  bool tls = false;
};

// "mqtt://host", "mqtts://host:8883", an IPv6 literal in brackets; the default ports 1883 and
// 8883. None for another scheme, a path, an empty host or a bad port.
std::optional<BrokerAddress> ParseBrokerAddress(std::string_view text);
// A name fit for a topic level and a client id: 1..32 of a-z, 0-9, "-" and "_".
bool IsGoodClockName(std::string_view name);

MqttSettings ReadMqttSettings(const std::filesystem::path& settings_file);
// Throws IniWriteError when the file cannot be written; it is then unchanged.
void WriteMqttSettings(const std::filesystem::path& settings_file, const MqttSettings& mqtt);

}  // namespace chimewell
