// How soon the busy-desktop watcher notices: a call starting (parecord on a microphone of a
// private PulseAudio daemon) and ending, and "do not disturb" flipped by a service on a private
// session bus. And what a running watcher costs while nothing happens: the wake-ups of its
// threads over a quiet span (CHIMEWELL_IDLE_SECONDS, 60 by default).
//
//   build/test/bench/bench_busy --benchmark_filter=Noticed
//   CHIMEWELL_IDLE_SECONDS=60 build/test/bench/bench_busy --benchmark_filter=Idle
#include <benchmark/benchmark.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "platform/linux/child_process.h"
#include "platform/linux/desktop_busy_watcher_linux.h"
#include "support/busy_log.h"
#include "support/fake_dnd_service.h"
#include "support/pulse_daemon.h"
#include "support/session_bus.h"

namespace chimewell {
namespace {

using Clock = std::chrono::steady_clock;
using testing::BusyLog;

constexpr char kMicrophone[] = "module-null-source source_name=chimewell_mic";

// A daemon, a bus with KDE's notification service on it, and a watcher listening to both.
struct Desktop {
  Desktop() {
    setenv("GSETTINGS_BACKEND", "memory", 1);
    ok = daemon.Start({kMicrophone}) && bus.Start();
    service = std::make_unique<testing::FakeDndService>(
        testing::FakeDndService::Kind::kNotifications, false);
    ok = ok && service->Ready();
    log.Listen(watcher);
  }
  testing::PulseDaemon daemon;
  testing::SessionBus bus;
  std::unique_ptr<testing::FakeDndService> service;
  BusyLog log;
  LinuxDesktopBusyWatcher watcher;
  bool ok = false;
};

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_CallStartNoticed(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.ok) return state.SkipWithError("no pulseaudio or dbus-daemon");
  for (auto _ : state) {
    ChildProcess recorder;
    const auto start = Clock::now();
    recorder.Start({"parecord", "--device=chimewell_mic", "--raw", "/dev/null"});
    if (!desktop.log.WaitFor(BusyLog::InCall)) return state.SkipWithError("call not noticed");
    state.SetIterationTime(SecondsSince(start));
    recorder.Kill();
    recorder.Wait();
    if (!desktop.log.WaitFor(BusyLog::NoCall)) return state.SkipWithError("end not noticed");
  }
}
BENCHMARK(BM_CallStartNoticed)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CallEndNoticed(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.ok) return state.SkipWithError("no pulseaudio or dbus-daemon");
  for (auto _ : state) {
    ChildProcess recorder;
    recorder.Start({"parecord", "--device=chimewell_mic", "--raw", "/dev/null"});
    if (!desktop.log.WaitFor(BusyLog::InCall)) return state.SkipWithError("call not noticed");
    const auto start = Clock::now();
    recorder.Kill();
    if (!desktop.log.WaitFor(BusyLog::NoCall)) return state.SkipWithError("end not noticed");
    state.SetIterationTime(SecondsSince(start));
    recorder.Wait();
  }
}
BENCHMARK(BM_CallEndNoticed)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_QuietNoticed(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.ok) return state.SkipWithError("no pulseaudio or dbus-daemon");
  bool on = false;
  for (auto _ : state) {
    on = !on;
    const auto start = Clock::now();
    desktop.service->Set(on);
    if (!desktop.log.WaitFor(on ? BusyLog::Quiet : BusyLog::NotQuiet)) {
      return state.SkipWithError("flip not noticed");
    }
    state.SetIterationTime(SecondsSince(start));
  }
}
BENCHMARK(BM_QuietNoticed)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// Voluntary context switches (the thread slept and was woken) of each thread of this process
// but the calling one, by thread name.
std::map<std::string, long> Wakeups() {
  std::map<std::string, long> counts;
  const auto self = std::to_string(::syscall(SYS_gettid));
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    if (task.path().filename() == self) continue;
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (line.starts_with("voluntary_ctxt_switches:")) counts[name] += std::stol(line.substr(24));
    }
  }
  return counts;
}

void BM_IdleWakeups(benchmark::State& state) {
  const char* span = std::getenv("CHIMEWELL_IDLE_SECONDS");
  const int seconds = span != nullptr ? std::atoi(span) : 60;
  Desktop desktop;
  if (!desktop.ok) return state.SkipWithError("no pulseaudio or dbus-daemon");
  for (auto _ : state) {
    // Settled: whatever start-up did is over.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const auto before = Wakeups();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const auto after = Wakeups();
    long total = 0;
    for (const auto& [name, count] : after) {
      const auto it = before.find(name);
      const long woke = count - (it != before.end() ? it->second : 0);
      state.counters[name + "/min"] = static_cast<double>(woke) * 60 / seconds;
      total += woke;
    }
    state.counters["all/min"] = static_cast<double>(total) * 60 / seconds;
  }
}
BENCHMARK(BM_IdleWakeups)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace chimewell
