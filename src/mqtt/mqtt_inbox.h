#pragma once
// Carries out a message from the bus on the UI thread, through the application's operations
// as the API does: say, time, mute; what is refused or too late is logged.
#include <string>

namespace chimewell {

class Application;
class Clock;

void ApplyMqttMessage(Application& app, const Clock& clock, const std::string& name,
                      const std::string& topic, const std::string& payload);

}  // namespace chimewell
