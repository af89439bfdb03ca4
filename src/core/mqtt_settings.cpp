#include "core/mqtt_settings.h"

#include <charconv>

#include "core/ini_file.h"

namespace chimewell {
namespace {

constexpr const char* kSection = "MQTT";
constexpr size_t kMaxNameChars = 32;

}  // namespace

std::optional<BrokerAddress> ParseBrokerAddress(std::string_view text) {
  BrokerAddress address;
  if (text.starts_with("mqtts://")) {
    address.tls = true;
    address.port = 8883;
    text.remove_prefix(8);
  } else if (text.starts_with("mqtt://")) {
    text.remove_prefix(7);
  } else {
    return std::nullopt;
  }
  if (!text.empty() && text.back() == '/') text.remove_suffix(1);
  if (text.empty() || text.find_first_of("/?#@ ") != std::string_view::npos) return std::nullopt;
  size_t host_end = text.size();
  if (text.front() == '[') {
    host_end = text.find(']');
    if (host_end == std::string_view::npos) return std::nullopt;
    address.host = std::string(text.substr(1, host_end - 1));
    ++host_end;
  } else {
    host_end = std::min(text.find(':'), text.size());
    address.host = std::string(text.substr(0, host_end));
  }
  if (address.host.empty()) return std::nullopt;
  const std::string_view rest = text.substr(host_end);
  if (!rest.empty()) {
    if (rest.front() != ':' || rest.size() == 1) return std::nullopt;
    int port = 0;
    const auto [end, error] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), port);
    if (error != std::errc() || end != rest.data() + rest.size() || port < 1 || port > 65535) {
      return std::nullopt;
    }
    address.port = port;
  }
  return address;
}

bool IsGoodClockName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameChars) return false;
  for (const char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

MqttSettings ReadMqttSettings(const std::filesystem::path& settings_file) {
  const IniFile ini(settings_file);
  MqttSettings mqtt;
  mqtt.Enabled = ini.ReadBool(kSection, "Enabled", mqtt.Enabled);
  mqtt.Broker = ini.ReadString(kSection, "Broker", mqtt.Broker);
  mqtt.User = ini.ReadString(kSection, "User", mqtt.User);
  mqtt.Password = ini.ReadString(kSection, "Password", mqtt.Password);
  mqtt.Name = ini.ReadString(kSection, "Name", mqtt.Name);
  return mqtt;
}

void WriteMqttSettings(const std::filesystem::path& settings_file, const MqttSettings& mqtt) {
  IniFile ini(settings_file);
  ini.WriteBool(kSection, "Enabled", mqtt.Enabled);
  ini.WriteString(kSection, "Broker", mqtt.Broker);
  ini.WriteString(kSection, "User", mqtt.User);
  ini.WriteString(kSection, "Password", mqtt.Password);
  ini.WriteString(kSection, "Name", mqtt.Name);
  ini.Save();
}

}  // namespace chimewell
