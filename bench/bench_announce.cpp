// Messages from other systems, end to end through the application on the real sound path:
// from the request (an HTTP POST, an MQTT publish, a shortcut's line on the local socket) to
// its first audible sample in the capture; a burst of 200 over HTTP; the MQTT link's way back
// after the broker returns, and its wake-ups while idle.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "app/application.h"
#include "loop_ui_thread.h"
#include "mqtt/mqtt_inbox.h"
#include "mqtt/mqtt_link.h"
#include "platform/file_system.h"
#include "platform/linux/instance_channel.h"
#include "simulate/quiet_platform.h"
#include "sound_stack.h"
#include "support/fake_timer.h"
#include "support/mosquitto_broker.h"
#include "support/mqtt_probe.h"
#include "support/temp_dir.h"
#include "web/loopback_client.h"
#include "web/web_config_server.h"

namespace chimewell {
namespace {

using namespace std::chrono_literals;

// The application on the real sound path, run by a UI thread of its own, with its page and API
// on a loopback port.
struct AnnouncingClock {
  AnnouncingClock() {
    ui.RunSync([&] {
      app = std::make_unique<Application>(
          AppDependencies{sound.clock, timer, ui, shell, files, *sound.sound, *sound.speech,
                          *sound.midi, fonts, view, nullptr, PathsInHome(home.path().string())});
      app->FormCreate();
      app->FormShow();
      timer.FireNow();
      web.Attach(*app);
    });
    std::string error;
    web.Listen(0, error);
  }
  ~AnnouncingClock() {
    web.Stop();
    ui.RunSync([&] {
      app->PM_MenuClick(MenuItem::PM_Clear);
      app.reset();
    });
  }
  bool Idle() {
    bool idle = false;
    ui.RunSync([&] {
      idle = app->Status().queued == 0 && !app->PlaybackData().HasMessageThread() &&
             sound.speech->Speaking() <= 0;
    });
    return idle;
  }
  void WaitIdle() {
    while (!Idle()) std::this_thread::sleep_for(5ms);
  }
  Event Now() const { return {sound.timeline->Written(), Mixer::SystemWallNow().UnixUs()}; }

  Stack sound;
  testing::TempDir home;
  LoopUiThread ui;
  testing::FakeTimer timer{&sound.clock};
  NoShell shell;
  RealFileSystem files;
  NoFonts fonts;
  QuietView view{false};
  WebConfigServer web{ui, PageServices{fonts, files, sound.clock, *sound.speech}};
  std::unique_ptr<Application> app;
};

std::string SpokenText(int i) {
  return std::to_string(i % 12 + 1) + "時" + std::to_string(i) + "分です";
}

std::string SayRequest(const std::string& text) {
  const std::string body = "{\"message\":\"" + text + "\"}";
  return "POST /api/say HTTP/1.1\r\nHost: localhost\r\nContent-Type: application/json\r\n"
         "Content-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// HTTP: a script's POST on loopback.
void BM_HttpSayToFirstAudible(benchmark::State& state) {
  AnnouncingClock clock;
  if (!SpeechReady(clock.sound, state)) return;
  std::vector<Event> events;
  int i = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(300ms);
    events.push_back(clock.Now());
    testing::Exchange(static_cast<uint16_t>(clock.web.Port()), SayRequest(SpokenText(i++)));
    clock.WaitIdle();
  }
  Report(state, clock.sound.Errors(events));
}
BENCHMARK(BM_HttpSayToFirstAudible)->Iterations(15)->Unit(benchmark::kMillisecond);

// MQTT: a publish on the clock's say topic through a private broker.
void BM_MqttSayToFirstAudible(benchmark::State& state) {
  testing::MosquittoBroker broker;
  if (!broker.Start()) {
    state.SkipWithError("mosquitto did not start");
    return;
  }
  AnnouncingClock clock;
  if (!SpeechReady(clock.sound, state)) return;
  MqttLink link(
      clock.ui, "bench",
      [&](const std::string& name, const std::string& topic, const std::string& payload) {
        ApplyMqttMessage(*clock.app, clock.sound.clock, name, topic, payload);
      },
      [](const std::string&) {});
  MqttSettings settings;
  settings.Enabled = true;
  settings.Broker = broker.address();
  settings.Name = "bench";
  clock.ui.RunSync([&] { link.Configure(settings); });
  while (!link.Connected()) std::this_thread::sleep_for(5ms);
  testing::MqttProbe house(broker.port(), "house");
  house.WaitConnected();
  std::vector<Event> events;
  int i = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(300ms);
    events.push_back(clock.Now());
    house.Publish("chimewell/bench/say", SpokenText(i++));
    std::this_thread::sleep_for(50ms);
    clock.WaitIdle();
  }
  clock.ui.RunSync([&] { link.Configure(MqttSettings{}); });
  Report(state, clock.sound.Errors(events));
}
BENCHMARK(BM_MqttSayToFirstAudible)->Iterations(15)->Unit(benchmark::kMillisecond);

// A shortcut: "now" sent on the local socket, answered by the application as the program's
// listener does; the clock says the time.
void BM_TellNowToFirstAudible(benchmark::State& state) {
  AnnouncingClock clock;
  if (!SpeechReady(clock.sound, state)) return;
  const std::string name = InstanceChannelName(clock.home.path().string() + "/chimewell.lock");
  const int listener = ListenOnInstanceChannel(name, 4);
  std::atomic<bool> stop{false};
  std::thread answering([&] {
    while (!stop) {
      const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) {
        std::this_thread::sleep_for(1ms);
        continue;
      }
      char line[256];
      const ssize_t got = ::recv(client, line, sizeof line, 0);
      std::string answer;
      clock.ui.RunSync([&] {
        answer = clock.app->TellFromLine(std::string_view(line, got > 0 ? got : 0)) + "\n";
      });
      (void)::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
      ::close(client);
    }
  });
  std::vector<Event> events;
  for (auto _ : state) {
    std::this_thread::sleep_for(300ms);
    events.push_back(clock.Now());
    SendInstanceRequest(name, "now", 5000);
    clock.WaitIdle();
  }
  stop = true;
  answering.join();
  ::close(listener);
  Report(state, clock.sound.Errors(events));
}
BENCHMARK(BM_TellNowToFirstAudible)->Iterations(15)->Unit(benchmark::kMillisecond);

// 200 messages sent at once: how many were taken and refused, and whether every one taken was
// spoken, in order.
void BM_BurstOf200(benchmark::State& state) {
  AnnouncingClock clock;
  if (!SpeechReady(clock.sound, state)) return;
  int accepted = 0;
  int refused = 0;
  for (auto _ : state) {
    for (int i = 1; i <= 200; ++i) {
      const std::string answer = testing::Exchange(static_cast<uint16_t>(clock.web.Port()),
                                                   SayRequest("第" + std::to_string(i)));
      if (answer.starts_with("HTTP/1.1 202")) ++accepted;
      if (answer.starts_with("HTTP/1.1 429")) ++refused;
    }
    clock.WaitIdle();
  }
  std::vector<std::string> spoken;
  clock.ui.RunSync([&] {
    for (const std::string& line : clock.app->Logs().Lines()) {
      const size_t at = line.find("Set[Message]Thread 第");
      if (at != std::string::npos)
        spoken.push_back(line.substr(at + 19, line.find(' ', at + 19) - at - 19));
    }
  });
  bool in_order = spoken.size() == static_cast<size_t>(accepted);
  for (size_t i = 0; in_order && i < spoken.size(); ++i) {
    in_order = spoken[i] == "第" + std::to_string(i + 1);
  }
  state.counters["accepted"] = accepted;
  state.counters["refused_429"] = refused;
  state.counters["spoken"] = static_cast<double>(spoken.size());
  state.counters["in_order"] = in_order ? 1 : 0;
}
BENCHMARK(BM_BurstOf200)->Iterations(1)->Unit(benchmark::kSecond);

// A link named "bench" on a private broker of its own, switched off again at the end.
struct BenchLink {
  testing::MosquittoBroker broker;
  LoopUiThread ui;
  MqttLink link{ui, "bench", [](const std::string&, const std::string&, const std::string&) {},
                [](const std::string&) {}};

  // Connected, or false with the benchmark skipped when the broker does not start.
  bool Connect(benchmark::State& state) {
    if (!broker.Start()) {
      state.SkipWithError("mosquitto did not start");
      return false;
    }
    MqttSettings settings;
    settings.Enabled = true;
    settings.Broker = broker.address();
    settings.Name = "bench";
    ui.RunSync([&] { link.Configure(settings); });
    while (!link.Connected()) std::this_thread::sleep_for(1ms);
    return true;
  }
  ~BenchLink() {
    ui.RunSync([&] { link.Configure(MqttSettings{}); });
  }
};

// The broker killed and started again: from its return to the link being online again.
void BM_BrokerReturnToOnline(benchmark::State& state) {
  BenchLink bench;
  if (!bench.Connect(state)) return;
  testing::MosquittoBroker& broker = bench.broker;
  MqttLink& link = bench.link;
  std::vector<double> times;
  int i = 0;
  for (auto _ : state) {
    broker.Kill(SIGKILL);
    while (link.Connected()) std::this_thread::sleep_for(1ms);
    // Away for a while, so the back-off has grown.
    std::this_thread::sleep_for(std::chrono::milliseconds(500 + 1500 * (i++ % 4)));
    broker.Start();
    const auto back = std::chrono::steady_clock::now();
    while (!link.Connected()) std::this_thread::sleep_for(1ms);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - back).count();
    times.push_back(ms);
    state.SetIterationTime(ms / 1000);
  }
  std::sort(times.begin(), times.end());
  Report(state, times);
}
BENCHMARK(BM_BrokerReturnToOnline)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

// The link's thread while nothing happens: its wake-ups per minute (keep-alive only).
long MqttThreadSwitches() {
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::string comm;
    std::ifstream(task.path() / "comm") >> comm;
    if (comm != "chimewell-mqtt") continue;
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (line.starts_with("voluntary_ctxt_switches:")) return std::stol(line.substr(24));
    }
  }
  return -1;
}

void BM_IdleMqttWakeUps(benchmark::State& state) {
  BenchLink bench;
  if (!bench.Connect(state)) return;
  std::this_thread::sleep_for(1s);
  const int seconds = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const long before = MqttThreadSwitches();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const long after = MqttThreadSwitches();
    state.counters["wakeups_per_min"] = static_cast<double>(after - before) * 60.0 / seconds;
  }
}
BENCHMARK(BM_IdleMqttWakeUps)->Arg(120)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace chimewell
