#pragma once
// A plain MQTT client for tests (libmosquitto on its own thread): subscribes, records what
// arrives, publishes.
#include <mosquitto.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace chimewell::testing {

class MqttProbe {
 public:
  struct Message {
    std::string topic;
    std::string payload;
    bool retained = false;
  };

  explicit MqttProbe(int port, const std::string& id = "probe") {
    mosquitto_lib_init();
    client_ = mosquitto_new(id.c_str(), true, this);
    mosquitto_message_callback_set(client_, [](mosquitto*, void* self, const mosquitto_message* m) {
      static_cast<MqttProbe*>(self)->Record(m);
    });
    mosquitto_connect_callback_set(client_, [](mosquitto*, void* self, int rc) {
      auto* probe = static_cast<MqttProbe*>(self);
      const std::lock_guard lock(probe->mutex_);
      probe->connected_ = rc == 0;
      probe->changed_.notify_all();
    });
    mosquitto_connect(client_, "127.0.0.1", port, 60);
    mosquitto_loop_start(client_);
  }
  ~MqttProbe() {
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
  }

  bool WaitConnected() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return connected_; });
  }
  void Subscribe(const std::string& pattern) {
    int mid = 0;
    mosquitto_subscribe(client_, &mid, pattern.c_str(), 1);
  }
  void Publish(const std::string& topic, const std::string& payload, bool retain = false) {
    mosquitto_publish(client_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                      payload.data(), 1, retain);
  }
  // Waits until `done` holds for what has arrived (in real time, at most `guard`).
  bool WaitFor(const std::function<bool(const std::vector<Message>&)>& done,
               std::chrono::milliseconds guard = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, guard, [&] { return done(messages_); });
  }
  // The last payload seen on `topic`; empty when none.
  std::string Last(const std::string& topic) {
    const std::lock_guard lock(mutex_);
    for (auto it = messages_.rbegin(); it != messages_.rend(); ++it) {
      if (it->topic == topic) return it->payload;
    }
    return {};
  }
  std::vector<Message> Messages() {
    const std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  void Record(const mosquitto_message* m) {
    const std::lock_guard lock(mutex_);
    messages_.push_back(
        {m->topic,
         std::string(static_cast<const char*>(m->payload), static_cast<size_t>(m->payloadlen)),
         m->retain});
    changed_.notify_all();
  }

  mosquitto* client_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool connected_ = false;
  std::vector<Message> messages_;
};

// A message on `topic` with `payload` has arrived.
inline std::function<bool(const std::vector<MqttProbe::Message>&)> Seen(
    const std::string& topic, const std::string& payload) {
  return [=](const std::vector<MqttProbe::Message>& all) {
    for (const auto& m : all) {
      if (m.topic == topic && m.payload == payload) return true;
    }
    return false;
  };
}

}  // namespace chimewell::testing
