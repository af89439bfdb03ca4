#include "mqtt/mqtt_session.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

#include "core/fault.h"
#include "mqtt/mqtt_discovery.h"
#include "mqtt/mqtt_texts.h"
#include "platform/ui_thread.h"

namespace chimewell {
namespace {

constexpr int kKeepAliveSeconds = 60;
// The network loop sleeps this long at most, so the keep-alive ping is never late by more
// than this; otherwise nothing wakes the thread while the link is idle.
constexpr int kLoopTimeoutMs = 25'000;
// Back-off between attempts: doubled after each failure up to the longest, so a broker that
// comes back is used again within seconds.
constexpr std::chrono::milliseconds kFirstRetry{500};
constexpr std::chrono::milliseconds kLongestRetry{4000};
constexpr int kQos = 1;
constexpr const char* kSystemCertificates = "/etc/ssl/certs";
// What stopping waits for the goodbye to go out, in rounds of the network loop.
constexpr int kFlushRounds = 20;
constexpr int kFlushRoundMs = 50;

MqttLink::Session* SessionOf(void* user_data) { return static_cast<MqttLink::Session*>(user_data); }

}  // namespace

MqttLink::Session::Session(UiThread& ui, const MqttSettings& settings, const BrokerAddress& broker,
                           const std::string& version,
                           std::weak_ptr<MqttLink::MessageHandler> on_message,
                           std::weak_ptr<MqttLink::Reporter> report)
    : ui_(ui),
      settings_(settings),
      broker_(broker),
      version_(version),
      topics_(settings.Name),
      on_message_(std::move(on_message)),
      report_(std::move(report)),
      thread_([this] { Run(); }) {}

MqttLink::Session::~Session() {
  Stop();
  if (thread_.joinable()) thread_.join();
}

void MqttLink::Session::SetState(const std::string& payload) {
  const std::lock_guard lock(mutex_);
  state_ = payload;
  if (client_ != nullptr && connected_) Publish(client_, topics_.state, state_);
}

void MqttLink::Session::Stop() {
  {
    const std::lock_guard lock(mutex_);
    if (stop_) return;
    stop_ = true;
    // Queuing the goodbye also wakes the network loop, which then sees the stop.
    if (client_ != nullptr && connected_) {
      Publish(client_, topics_.availability, MqttTopics::kOffline);
    }
  }
  wake_.notify_all();
}

void MqttLink::Session::Publish(mosquitto* client, const std::string& topic,
                                const std::string& payload) {
  mosquitto_publish(client, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                    payload.data(), kQos, true);
}

void MqttLink::Session::Post(const std::string& line) {
  ui_.Post([report = report_, line] {
    if (const auto reporter = report.lock()) (*reporter)(line);
  });
}

void MqttLink::Session::Run() {
  // Named, so that its wake-ups can be told apart from the rest of the program's.
  pthread_setname_np(pthread_self(), "chimewell-mqtt");
  try {
    const std::string client_id = "chimewell-" + settings_.Name;
    // Not a clean session: the broker keeps the subscriptions and what arrives for them while
    // the clock is away, and hands it over when it is back.
    mosquitto* client = mosquitto_new(client_id.c_str(), false, this);
    if (client == nullptr) throw std::runtime_error("mosquitto_new failed");
    mosquitto_threaded_set(client, true);
    mosquitto_int_option(client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    if (!settings_.User.empty()) {
      mosquitto_username_pw_set(client, settings_.User.c_str(),
                                settings_.Password.empty() ? nullptr : settings_.Password.c_str());
    }
    mosquitto_will_set(client, topics_.availability.c_str(),
                       static_cast<int>(std::strlen(MqttTopics::kOffline)), MqttTopics::kOffline,
                       kQos, true);
    if (broker_.tls)
      mosquitto_tls_set(client, nullptr, kSystemCertificates, nullptr, nullptr, nullptr);
    mosquitto_connect_callback_set(
        client, [](mosquitto* c, void* self, int rc) { SessionOf(self)->OnConnect(c, rc); });
    mosquitto_disconnect_callback_set(
        client, [](mosquitto*, void* self, int) { SessionOf(self)->OnDisconnect(); });
    mosquitto_message_callback_set(client, [](mosquitto*, void* self, const mosquitto_message* m) {
      SessionOf(self)->OnMessage(m);
    });
    {
      const std::lock_guard lock(mutex_);
      client_ = client;
    }
    RunOnce(client);
    {
      const std::lock_guard lock(mutex_);
      client_ = nullptr;
    }
    mosquitto_destroy(client);
  } catch (...) {
    Post(DescribeFault("mqtt", std::current_exception()));
  }
  ended_ = true;
}

void MqttLink::Session::RunOnce(mosquitto* client) {
  std::chrono::milliseconds retry = kFirstRetry;
  bool first = true;
  for (;;) {
    {
      const std::lock_guard lock(mutex_);
      if (stop_) break;
    }
    // Asynchronous: the TCP connection is made by the loop below, so stopping never waits for
    // a broker that does not answer.
    int rc = first ? mosquitto_connect_async(client, broker_.host.c_str(), broker_.port,
                                             kKeepAliveSeconds)
                   : mosquitto_reconnect_async(client);
    first = false;
    while (rc == MOSQ_ERR_SUCCESS) {
      rc = mosquitto_loop(client, kLoopTimeoutMs, 1);
      const std::lock_guard lock(mutex_);
      if (stop_) break;
    }
    connected_ = false;
    if (std::exchange(was_up_, false)) {
      retry = kFirstRetry;
      Post(mqtt_texts::Lost(settings_.Broker));
    }
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, retry, [this] { return stop_; })) break;
    retry = std::min(retry * 2, kLongestRetry);
  }
  if (connected_.exchange(false) || std::exchange(was_up_, false)) {
    mosquitto_disconnect(client);
    for (int i = 0; i < kFlushRounds; ++i) {
      if (mosquitto_loop(client, kFlushRoundMs, 1) != MOSQ_ERR_SUCCESS) break;
    }
  }
}

void MqttLink::Session::OnConnect(mosquitto* client, int rc) {
  if (rc != 0) return;
  for (const std::string& topic :
       {topics_.say, topics_.time, topics_.mute, std::string(MqttTopics::kAllSay)}) {
    mosquitto_subscribe(client, nullptr, topic.c_str(), kQos);
  }
  {
    const std::lock_guard lock(mutex_);
    Publish(client, topics_.availability, MqttTopics::kOnline);
    for (const RetainedMessage& m : DiscoveryMessages(settings_.Name, version_)) {
      Publish(client, m.topic, m.payload);
    }
    if (!state_.empty()) Publish(client, topics_.state, state_);
    connected_ = true;
  }
  was_up_ = true;
  Post(mqtt_texts::Connected(settings_.Broker));
}

void MqttLink::Session::OnDisconnect() { connected_ = false; }

void MqttLink::Session::OnMessage(const mosquitto_message* message) {
  // A command left retained on the broker would be carried out again at every connect.
  if (message->retain || message->topic == nullptr) return;
  std::string topic = message->topic;
  std::string payload(static_cast<const char*>(message->payload),
                      static_cast<size_t>(std::max(message->payloadlen, 0)));
  ui_.Post([handler = on_message_, name = settings_.Name, topic = std::move(topic),
            payload = std::move(payload)] {
    if (const auto on_message = handler.lock()) (*on_message)(name, topic, payload);
  });
}

}  // namespace chimewell
