#pragma once
// The link to a home-automation message bus (MQTT) as the application drives it; the link
// reaches back only through the application's operations.
#include "app/clock_status.h"
#include "core/mqtt_settings.h"

namespace chimewell {

class MessageBus {
 public:
  virtual ~MessageBus() = default;
  // Connects with these settings, or stays off when they say so; a change connects anew.
  // Never waits for the network (UI thread).
  virtual void Configure(const MqttSettings& settings) = 0;
  // The clock's state may have changed: it is published when it differs from the last
  // (UI thread).
  virtual void PublishStatus(const ClockStatus& status) = 0;
};

}  // namespace chimewell
