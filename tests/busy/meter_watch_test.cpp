// A volume control's level meters are not calls, on either sound server a desktop runs:
// PulseAudio marks a meter by its "peaks" resampler, PipeWire's pulse service by
// stream.monitor. Each server is started by the test, with a null source for a microphone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/linux/child_process.h"
#include "platform/linux/desktop_busy_watcher_linux.h"
#include "support/busy_log.h"
#include "support/pipewire_daemon.h"
#include "support/pulse_daemon.h"

namespace chimewell {
namespace {

using testing::BusyLog;
using namespace std::chrono_literals;

constexpr char kMicrophone[] = "chimewell_mic";

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

// A program of the test's, ended when the test is done with it.
class Program {
 public:
  explicit Program(const std::vector<std::string>& argv) { process_.Start(argv); }
  ~Program() { End(); }
  void End() {
    process_.Kill();
    process_.Wait();
  }

 private:
  ChildProcess process_;
};

// One sound server of the test's own, started with a microphone; null when it cannot run here.
struct Server {
  const char* name;
  std::function<std::shared_ptr<void>(std::string* why)> start;
};

std::shared_ptr<void> StartPulseAudio(std::string* why) {
  if (!testing::PulseDaemon::Installed()) {
    *why = "pulseaudio not installed";
    return nullptr;
  }
  auto daemon = std::make_shared<testing::PulseDaemon>();
  if (!daemon->Start({std::string("module-null-source source_name=") + kMicrophone})) {
    *why = "pulseaudio does not start";
    return nullptr;
  }
  return daemon;
}

std::shared_ptr<void> StartPipeWire(std::string* why) {
  if (!testing::PipeWireDaemon::Installed()) {
    *why = "pipewire, wireplumber or pipewire-pulse not installed";
    return nullptr;
  }
  auto daemon = std::make_shared<testing::PipeWireDaemon>();
  if (!daemon->Start() || !testing::PipeWireDaemon::AddMicrophone(kMicrophone)) {
    *why = "pipewire's pulse service does not start";
    return nullptr;
  }
  return daemon;
}

const Server kServers[] = {{"PulseAudio", StartPulseAudio}, {"PipeWire", StartPipeWire}};

TEST(MeterWatchTest, ALevelMeterOnTheMicrophoneIsNoCallWhereARecorderIs) {
  // Only the sound server is looked at here.
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  for (const Server& server : kServers) {
    SCOPED_TRACE(server.name);
    std::string why;
    const auto daemon = server.start(&why);
    if (!daemon) {
      std::cout << server.name << " skipped: " << why << "\n";
      continue;
    }
    LinuxDesktopBusyWatcher watcher;
    BusyLog log;
    log.Listen(watcher);
    Program meter({LEVEL_METER_PATH, kMicrophone});
    ASSERT_TRUE(testing::WaitUntil(10s, [] {
      return Output("pactl list source-outputs").find("Peak detect") != std::string::npos;
    }));
    // A real recorder is a call, and once it ends the meter, still there, must not hold it.
    auto recorder = std::make_unique<Program>(std::vector<std::string>{
        "parecord", std::string("--device=") + kMicrophone, "--raw", "/dev/null"});
    ASSERT_TRUE(log.WaitFor(BusyLog::InCall));
    recorder->End();
    ASSERT_TRUE(log.WaitFor(BusyLog::NoCall));
    EXPECT_NE(Output("pactl list source-outputs").find("Peak detect"), std::string::npos);
    EXPECT_EQ(log.States().size(), 2u);
  }
}

}  // namespace
}  // namespace chimewell
