#pragma once
// The clock's MQTT connection through libmosquitto. Each configuration runs as a session on a
// thread of its own: it connects, subscribes with QoS 1 in a persistent session, announces
// itself (availability with a last will, discovery, state) and connects again with back-off
// when the broker goes away. The UI thread owns the link; it never waits for the network.
// What arrives is handed to the UI thread.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/message_bus.h"

namespace chimewell {

class UiThread;

class MqttLink final : public MessageBus {
 public:
  // Both run on the UI thread: a message on one of the topics of the clock named `name`, and
  // a line for the log (connected, lost).
  using MessageHandler = std::function<void(const std::string& name, const std::string& topic,
                                            const std::string& payload)>;
  using Reporter = std::function<void(const std::string& line)>;

  MqttLink(UiThread& ui, std::string version, MessageHandler on_message, Reporter report);
  // Says "offline" and disconnects; waits for the session threads to end.
  ~MqttLink() override;
  MqttLink(const MqttLink&) = delete;
  MqttLink& operator=(const MqttLink&) = delete;

  void Configure(const MqttSettings& settings) override;
  void PublishStatus(const ClockStatus& status) override;

  // Whether the current session is connected now (any thread).
  bool Connected() const;

  class Session;

 private:
  // Joins the retired sessions whose threads have ended.
  void ReapRetired();

  UiThread& ui_;
  std::string version_;
  // Shared with the sessions' threads, which post through it: reset when the link goes, so a
  // step posted before then does nothing.
  std::shared_ptr<MessageHandler> on_message_;
  std::shared_ptr<Reporter> report_;
  MqttSettings settings_;
  std::string last_state_;
  std::unique_ptr<Session> session_;
  std::vector<std::unique_ptr<Session>> retired_;
};

}  // namespace chimewell
