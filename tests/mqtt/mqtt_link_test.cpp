// The MQTT link against a private mosquitto: what Home Assistant finds, commands from the bus
// reaching the application, the state it publishes, and a broker that goes away and comes back.
#include "mqtt/mqtt_link.h"

#include <gmock/gmock.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <deque>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "app/app_fixture.h"
#include "core/iso_moment.h"
#include "mqtt/mqtt_inbox.h"
#include "support/mosquitto_broker.h"
#include "support/mqtt_probe.h"

namespace chimewell::testing {
namespace {

using nlohmann::json;

// Steps the link posts, run when the test (the UI thread here) pumps them.
class PostedUiThread final : public UiThread {
 public:
  void RunSync(const std::function<void()>& step) override { step(); }
  void Post(std::function<void()> step) override {
    const std::lock_guard lock(mutex_);
    steps_.push_back(std::move(step));
  }
  void RunPosted() {
    std::deque<std::function<void()>> steps;
    {
      const std::lock_guard lock(mutex_);
      steps.swap(steps_);
    }
    for (auto& step : steps) step();
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> steps_;
};

class MqttLinkTest : public AppTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(broker.Start()) << "mosquitto did not start";
    Start();
    link = std::make_unique<MqttLink>(
        posted, "0.1.0",
        [this](const std::string& name, const std::string& topic, const std::string& payload) {
          received.push_back(payload);
          ApplyMqttMessage(*app, clock, name, topic, payload);
        },
        [this](const std::string& line) { reports.push_back(line); });
    app->AttachMessageBus(link.get());
  }
  void TearDown() override {
    if (app) app->AttachMessageBus(nullptr);
    link.reset();
  }
  MqttSettings Settings() const {
    MqttSettings mqtt;
    mqtt.Enabled = true;
    mqtt.Broker = broker.address();
    mqtt.Name = "test";
    return mqtt;
  }
  // Runs what the link posted until `done` (real time, at most `guard`).
  bool PumpUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds guard = std::chrono::seconds(10)) {
    const auto give_up = std::chrono::steady_clock::now() + guard;
    while (std::chrono::steady_clock::now() < give_up) {
      posted.RunPosted();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  int Received(const std::string& payload) const {
    return static_cast<int>(std::count(received.begin(), received.end(), payload));
  }

  MosquittoBroker broker;
  PostedUiThread posted;
  std::unique_ptr<MqttLink> link;
  std::vector<std::string> received;
  std::vector<std::string> reports;
};

TEST_F(MqttLinkTest, HomeAssistantFindsEveryEntityWithTheKeysItRequiresAndTheRetainedState) {
  app->ApplyMqttSettings(Settings());
  ASSERT_TRUE(PumpUntil([&] { return link->Connected(); }));
  app->SetMuted(true);  // the state follows

  // A client that comes later, as Home Assistant does after a restart, finds it all retained.
  MqttProbe ha(broker.port(), "ha");
  ASSERT_TRUE(ha.WaitConnected());
  ha.Subscribe("homeassistant/#");
  ha.Subscribe("chimewell/test/#");
  ASSERT_TRUE(ha.WaitFor([](const auto& all) {
    return std::count_if(all.begin(), all.end(),
                         [](const auto& m) { return m.topic.ends_with("/config"); }) == 6;
  }));
  ASSERT_TRUE(ha.WaitFor(Seen("chimewell/test/availability", "online")));
  ASSERT_TRUE(ha.WaitFor([](const auto& all) {
    return std::any_of(all.begin(), all.end(), [](const auto& m) {
      return m.topic == "chimewell/test/state" &&
             m.payload.find("\"muted\":true") != std::string::npos;
    });
  }));

  // What each platform of Home Assistant's MQTT integration requires, and what every entity
  // needs to belong to the device and follow its availability.
  const std::map<std::string, std::vector<std::string>> required = {
      {"notify", {"command_topic"}},
      {"button", {"command_topic"}},
      {"switch", {"command_topic"}},
      {"sensor", {"state_topic"}},
      {"binary_sensor", {"state_topic"}}};
  std::set<std::string> components;
  std::set<std::string> unique_ids;
  for (const auto& m : ha.Messages()) {
    if (!m.topic.ends_with("/config")) continue;
    EXPECT_TRUE(m.retained) << m.topic;
    const std::string component = m.topic.substr(14, m.topic.find('/', 14) - 14);
    components.insert(component);
    const json config = json::parse(m.payload);
    for (const std::string& key : required.at(component)) {
      EXPECT_TRUE(config.contains(key)) << m.topic << " lacks " << key;
    }
    EXPECT_TRUE(unique_ids.insert(config["unique_id"].get<std::string>()).second);
    EXPECT_EQ(config["availability_topic"], "chimewell/test/availability") << m.topic;
    EXPECT_EQ(config["device"]["identifiers"][0], "chimewell_test") << m.topic;
    EXPECT_FALSE(config["name"].get<std::string>().empty()) << m.topic;
  }
  EXPECT_EQ(components,
            (std::set<std::string>{"notify", "button", "switch", "sensor", "binary_sensor"}));
  const json state = json::parse(ha.Last("chimewell/test/state"));
  for (const char* key : {"muted", "paused", "quiet", "busy", "next_at", "next_event"}) {
    EXPECT_TRUE(state.contains(key)) << key;
  }

  // Leaving says so, retained.
  app->AttachMessageBus(nullptr);
  link.reset();
  EXPECT_TRUE(ha.WaitFor(Seen("chimewell/test/availability", "offline")));
}

TEST_F(MqttLinkTest, SayTimeAndMuteFromTheBusGoThroughTheApplication) {
  app->ApplyMqttSettings(Settings());
  ASSERT_TRUE(PumpUntil([&] { return link->Connected(); }));
  MqttProbe house(broker.port(), "house");
  ASSERT_TRUE(house.WaitConnected());
  const std::string late_sent = FormatIsoMoment(clock.WallNow() - std::chrono::minutes(5));
  house.Publish("chimewell/test/mute", "ON");
  house.Publish("chimewell/test/say", "洗濯が終わりました");
  house.Publish("chimewell/test/say", R"({"message":"来客です","title":"玄関","volume":50})");
  house.Publish("chimewell/all/say", "全館放送");
  house.Publish("chimewell/test/say", R"({"message":"遅い","sent":")" + late_sent + "\"}");
  house.Publish("chimewell/test/mute", "maybe");
  house.Publish("chimewell/other/say", "よその時計");
  house.Publish("chimewell/test/time", "PRESS");
  ASSERT_TRUE(PumpUntil([&] { return Received("PRESS") == 1; }));

  EXPECT_TRUE(app->Menu().Muted());
  EXPECT_EQ(app->Status().queued, 3u) << "three messages wait while muted";
  EXPECT_EQ(LogLinesContaining("見送り（MQTT 遅着） 『遅い』").size(), 1u);
  EXPECT_EQ(LogLinesContaining("ON か OFF").size(), 1u);
  EXPECT_EQ(Received("よその時計"), 0) << "another clock's topic is not ours";
  EXPECT_EQ(LogLinesContaining("Set[Message]Thread 洗濯が終わりました").size(), 1u);
}

TEST_F(MqttLinkTest, ABrokerThatComesBackIsUsedAgainAndWhatWasSentMeanwhileArrivesOnce) {
  app->ApplyMqttSettings(Settings());
  ASSERT_TRUE(PumpUntil([&] { return link->Connected(); }));
  broker.Kill(SIGTERM);
  ASSERT_TRUE(PumpUntil([&] { return !link->Connected(); }));
  // The clock goes on meanwhile: a command on the page is not held up by the link.
  const auto before = std::chrono::steady_clock::now();
  app->SetMuted(true);
  app->SetMuted(false);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));

  ASSERT_TRUE(broker.Start());
  const auto back = std::chrono::steady_clock::now();
  {
    // Published before the clock is back: the broker keeps it for the clock's session.
    MqttProbe house(broker.port(), "house");
    ASSERT_TRUE(house.WaitConnected());
    house.Publish("chimewell/test/say", "停電中のお知らせ");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(PumpUntil([&] { return link->Connected(); }, std::chrono::seconds(10)));
  EXPECT_LT(std::chrono::steady_clock::now() - back, std::chrono::seconds(5));
  ASSERT_TRUE(PumpUntil([&] { return Received("停電中のお知らせ") > 0; })) << broker.Log();
  PumpUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(Received("停電中のお知らせ"), 1);
  EXPECT_FALSE(std::find_if(reports.begin(), reports.end(), [](const std::string& r) {
                 return r.find("切れました") != std::string::npos;
               }) == reports.end());
}

TEST_F(MqttLinkTest, BadSettingsAreToldAndLeaveTheLinkOff) {
  MqttSettings mqtt = Settings();
  mqtt.Broker = "http://127.0.0.1:1883";
  link->Configure(mqtt);
  mqtt.Broker = broker.address();
  mqtt.Name = "Bad Name";
  link->Configure(mqtt);
  EXPECT_EQ(reports.size(), 2u);
  EXPECT_FALSE(link->Connected());
  mqtt.Enabled = false;
  mqtt.Name = "test";
  link->Configure(mqtt);
  PumpUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_FALSE(link->Connected()) << "off by default and when turned off";
}

#ifdef CHIMEWELL_PROGRAM
// The program killed outright: the broker tells everyone it is offline.
TEST(MqttProgramTest, AKilledClockIsOfflineByItsLastWill) {
  MosquittoBroker broker;
  ASSERT_TRUE(broker.Start());
  TempDir home;
  int web_port = 20000 + getpid() % 10000;
  std::ofstream(home / "chimewell.ini")
      << "[App]\nPortNumber=" << web_port << "\n[MQTT]\nEnabled=1\nBroker=" << broker.address()
      << "\nName=kitchen\n";
  MqttProbe ha(broker.port(), "ha");
  ASSERT_TRUE(ha.WaitConnected());
  ha.Subscribe("chimewell/kitchen/availability");
  const std::string home_dir = home.path().string();
  const char* argv[] = {CHIMEWELL_PROGRAM, "--home", home_dir.c_str(), "--audio", "null",
                        "--headless",      nullptr};
  pid_t pid = -1;
  ASSERT_EQ(
      posix_spawn(&pid, CHIMEWELL_PROGRAM, nullptr, nullptr, const_cast<char**>(argv), environ), 0);
  EXPECT_TRUE(
      ha.WaitFor(Seen("chimewell/kitchen/availability", "online"), std::chrono::seconds(60)));
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(ha.WaitFor(Seen("chimewell/kitchen/availability", "offline")));
}
#endif

}  // namespace
}  // namespace chimewell::testing
