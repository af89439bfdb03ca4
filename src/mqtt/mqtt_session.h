#pragma once
// One connection to the broker with one set of settings, on its own thread (see MqttLink).
#include <mosquitto.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/mqtt_settings.h"
#include "mqtt/mqtt_link.h"
#include "mqtt/mqtt_topics.h"

namespace chimewell {

class MqttLink::Session {
 public:
  Session(UiThread& ui, const MqttSettings& settings, const BrokerAddress& broker,
          const std::string& version, std::weak_ptr<MqttLink::MessageHandler> on_message,
          std::weak_ptr<MqttLink::Reporter> report);
  ~Session();

  // Publishes the state (retained) now if connected, and on every connect from now on.
  void SetState(const std::string& payload);
  // Asks the thread to say "offline" and end; returns at once.
  void Stop();
  bool Ended() const { return ended_.load(); }
  bool Connected() const { return connected_.load(); }

 private:
  void Run();
  void RunOnce(mosquitto* client);
  void OnConnect(mosquitto* client, int rc);
  void OnDisconnect();
  void OnMessage(const mosquitto_message* message);
  void Post(const std::string& line);
  void Publish(mosquitto* client, const std::string& topic, const std::string& payload);

  UiThread& ui_;
  const MqttSettings settings_;
  const BrokerAddress broker_;
  const std::string version_;
  const MqttTopics topics_;
  std::weak_ptr<MqttLink::MessageHandler> on_message_;
  std::weak_ptr<MqttLink::Reporter> report_;

  std::mutex mutex_;  // guards the three below
  std::condition_variable wake_;
  bool stop_ = false;
  std::string state_;
  mosquitto* client_ = nullptr;  // set and cleared by the thread

  std::atomic<bool> connected_{false};
  bool was_up_ = false;  // this thread's: connected since the last attempt began
  std::atomic<bool> ended_{false};
  std::thread thread_;
};

}  // namespace chimewell
