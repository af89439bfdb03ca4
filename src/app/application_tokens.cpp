// The links to other systems: the keys other machines give for the API (kept as hashes with
// their names in the settings file, which is read afresh for each use so that a removed key
// stops working at once) and the MQTT link's settings.
#include <algorithm>

#include "app/application.h"
#include "core/text_encoding.h"

namespace chimewell {
namespace {

constexpr size_t kMaxNameChars = 40;

bool GoodName(const std::string& name) {
  if (name.empty() || !IsValidUtf8(name) || Utf8Prefix(name, kMaxNameChars).size() != name.size())
    return false;
  // The name follows the hash after one blank in the file and is shown on the page.
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }) &&
         name.front() != ' ' && name.back() != ' ';
}

}  // namespace

ApiTokenChange Application::AddApiToken(const std::string& name, const std::string& hash) {
  if (!GoodName(name)) return ApiTokenChange::kBadName;
  std::vector<ApiTokenRecord> tokens = ReadApiTokens(deps_.paths.settings);
  if (std::any_of(tokens.begin(), tokens.end(), [&](const auto& t) { return t.name == name; })) {
    return ApiTokenChange::kNameTaken;
  }
  if (tokens.size() >= kMaxApiTokens) return ApiTokenChange::kFull;
  tokens.push_back({name, hash});
  WriteApiTokens(deps_.paths.settings, tokens);
  return ApiTokenChange::kAdded;
}

bool Application::RemoveApiToken(const std::string& name) {
  std::vector<ApiTokenRecord> tokens = ReadApiTokens(deps_.paths.settings);
  const auto kept =
      std::remove_if(tokens.begin(), tokens.end(), [&](const auto& t) { return t.name == name; });
  if (kept == tokens.end()) return false;
  tokens.erase(kept, tokens.end());
  WriteApiTokens(deps_.paths.settings, tokens);
  return true;
}

void Application::AttachMessageBus(MessageBus* bus) {
  bus_ = bus;
  if (bus_ == nullptr) return;
  bus_->Configure(Mqtt());
  bus_->PublishStatus(Status());
}

void Application::ApplyMqttSettings(const MqttSettings& mqtt) {
  WriteMqttSettings(deps_.paths.settings, mqtt);
  if (bus_ != nullptr) bus_->Configure(mqtt);
}

MqttSettings Application::Mqtt() const { return ReadMqttSettings(deps_.paths.settings); }

std::vector<ApiTokenRecord> Application::ApiTokens() const {
  return ReadApiTokens(deps_.paths.settings);
}

}  // namespace chimewell
