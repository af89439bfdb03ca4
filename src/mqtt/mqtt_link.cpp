#include "mqtt/mqtt_link.h"

#include <mosquitto.h>

#include <algorithm>

#include "mqtt/mqtt_discovery.h"
#include "mqtt/mqtt_session.h"
#include "mqtt/mqtt_texts.h"

namespace chimewell {
namespace {

void InitLibrary() {
  static const int done = [] { return mosquitto_lib_init(); }();
  (void)done;
}

}  // namespace

MqttLink::MqttLink(UiThread& ui, std::string version, MessageHandler on_message, Reporter report)
    : ui_(ui),
      version_(std::move(version)),
      on_message_(std::make_shared<MessageHandler>(std::move(on_message))),
      report_(std::make_shared<Reporter>(std::move(report))) {
  InitLibrary();
}

MqttLink::~MqttLink() {
  on_message_.reset();
  report_.reset();
  session_.reset();
  retired_.clear();
}

void MqttLink::Configure(const MqttSettings& settings) {
  ReapRetired();
  if (settings == settings_ && (session_ != nullptr || !settings.Enabled)) return;
  settings_ = settings;
  if (session_ != nullptr) {
    // Its thread ends by itself; it is joined once it has, never waited for here.
    session_->Stop();
    retired_.push_back(std::move(session_));
  }
  if (!settings.Enabled) return;
  const auto broker = ParseBrokerAddress(settings.Broker);
  if (!broker || !IsGoodClockName(settings.Name)) {
    (*report_)(broker ? mqtt_texts::kBadName : mqtt_texts::kBadBroker);
    return;
  }
  session_ = std::make_unique<Session>(ui_, settings, *broker, version_, on_message_, report_);
  if (!last_state_.empty()) session_->SetState(last_state_);
}

void MqttLink::PublishStatus(const ClockStatus& status) {
  std::string state = MqttStateJson(status);
  if (state == last_state_) return;
  last_state_ = std::move(state);
  if (session_ != nullptr) session_->SetState(last_state_);
}

bool MqttLink::Connected() const { return session_ != nullptr && session_->Connected(); }

void MqttLink::ReapRetired() {
  std::erase_if(retired_, [](const std::unique_ptr<Session>& s) { return s->Ended(); });
}

}  // namespace chimewell
