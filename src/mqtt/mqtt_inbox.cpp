#include "mqtt/mqtt_inbox.h"

#include "app/application.h"
#include "core/clock.h"
#include "mqtt/mqtt_message_reader.h"
#include "mqtt/mqtt_texts.h"

namespace chimewell {

void ApplyMqttMessage(Application& app, const Clock& clock, const std::string& name,
                      const std::string& topic, const std::string& payload) {
  const MqttAction action = ReadMqttMessage(MqttTopics(name), topic, payload, clock.WallNow(),
                                            std::chrono::seconds(app.Config().LateLimit));
  switch (action.kind) {
    case MqttAction::Kind::kSay:
      if (!app.SubmitAnnouncement(action.say).accepted) app.AddLogLine(mqtt_texts::kQueueFull);
      return;
    case MqttAction::Kind::kTime:
      app.SpeakCurrentTime();
      return;
    case MqttAction::Kind::kMute:
      if (action.muted != app.Menu().Muted()) app.SetMuted(action.muted);
      return;
    case MqttAction::Kind::kTooLate:
      app.AddLogLine(mqtt_texts::TooLate(action.say.text));
      return;
    case MqttAction::Kind::kInvalid:
      app.AddLogLine(action.reason);
      return;
    case MqttAction::Kind::kNotOurs:
      return;
  }
}

}  // namespace chimewell
