// Noticing a call on a real sound server of the test's own (PulseAudio, and PipeWire's pulse
// service for the level meters): a null source stands for the microphone, parecord and paplay
// for the programs of a call.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
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

constexpr char kMicrophoneName[] = "chimewell_mic";
constexpr char kMicrophone[] = "module-null-source source_name=chimewell_mic";

// Streams of one kind ("source-outputs", "sink-inputs") the daemon lists now.
int StreamCount(const std::string& kind) {
  int lines = 0;
  if (FILE* p = ::popen(("pactl list short " + kind).c_str(), "r")) {
    for (int c; (c = std::fgetc(p)) != EOF;) lines += c == '\n';
    ::pclose(p);
  }
  return lines;
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

std::unique_ptr<Program> Record(const std::string& device, const std::string& dir) {
  return std::make_unique<Program>(std::vector<std::string>{
      "parecord", "--device=" + device, "--raw", "--latency-msec=50", dir + "/heard.raw"});
}

// Silence played for as long as the program runs, in the given role.
std::unique_ptr<Program> Play(const std::string& role) {
  return std::make_unique<Program>(
      std::vector<std::string>{"paplay", "--raw", "--property=media.role=" + role, "/dev/zero"});
}

class CallWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::PulseDaemon::Installed()) GTEST_SKIP() << "pulseaudio not installed";
    // Only the sound server is looked at here.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    daemon_ = std::make_unique<testing::PulseDaemon>();
  }
  void Watch() { log_.Listen(watcher_); }

  std::unique_ptr<testing::PulseDaemon> daemon_;
  BusyLog log_;
  LinuxDesktopBusyWatcher watcher_;
};

TEST_F(CallWatchTest, RecordingFromAMicrophoneIsACallUntilTheRecorderEnds) {
  ASSERT_TRUE(daemon_->Start({kMicrophone}));
  Watch();
  auto recorder = Record("chimewell_mic", daemon_->dir());
  ASSERT_TRUE(log_.WaitFor(BusyLog::InCall));
  EXPECT_TRUE(watcher_.Current().Busy());
  recorder->End();
  ASSERT_TRUE(log_.WaitFor(BusyLog::NoCall));
  EXPECT_FALSE(watcher_.Current().Busy());
  EXPECT_EQ(log_.States().size(), 2u);
  EXPECT_EQ(log_.Unavailable(), std::vector{BusyUnavailable::kNoSessionBus});
}

TEST_F(CallWatchTest, APhoneStreamIsACallWhereMonitorRecordingAndMusicAreNot) {
  ASSERT_TRUE(daemon_->Start({kMicrophone}));
  Watch();
  auto monitor = Record("chimewell_test.monitor", daemon_->dir());
  auto music = Play("music");
  ASSERT_TRUE(testing::WaitUntil(std::chrono::seconds(10), [] {
    return StreamCount("source-outputs") == 1 && StreamCount("sink-inputs") == 1;
  }));
  // The phone stream makes a call; once it ends the others, still there, must not hold it.
  auto phone = Play("phone");
  ASSERT_TRUE(log_.WaitFor(BusyLog::InCall));
  phone->End();
  ASSERT_TRUE(log_.WaitFor(BusyLog::NoCall));
  EXPECT_EQ(StreamCount("source-outputs"), 1);
  EXPECT_EQ(StreamCount("sink-inputs"), 1);
  EXPECT_EQ(log_.States().size(), 2u);
}

TEST_F(CallWatchTest, AServerThatStartsLaterOrComesBackIsFoundWithoutAskingAgain) {
  Watch();
  ASSERT_TRUE(log_.WaitUnavailable());
  ASSERT_TRUE(daemon_->Start({kMicrophone}));
  auto recorder = Record("chimewell_mic", daemon_->dir());
  ASSERT_TRUE(log_.WaitFor(BusyLog::InCall));
  // A server gone takes its calls with it.
  daemon_->Kill();
  ASSERT_TRUE(log_.WaitFor(BusyLog::NoCall));
  recorder->End();
  ASSERT_TRUE(daemon_->Start({kMicrophone}));
  recorder = Record("chimewell_mic", daemon_->dir());
  ASSERT_TRUE(log_.WaitFor(BusyLog::InCall));
  const auto unavailable = log_.Unavailable();
  EXPECT_EQ(std::count(unavailable.begin(), unavailable.end(), BusyUnavailable::kNoSoundServer), 1);
}

// A sound server of the test's own with a microphone, and its folder; or null with the reason
// it cannot run.
using ServerStart = std::shared_ptr<void> (*)(std::string* dir, std::string* why);

std::shared_ptr<void> StartPulseAudio(std::string* dir, std::string* why) {
  auto daemon = std::make_shared<testing::PulseDaemon>();
  *dir = daemon->dir();
  if (testing::PulseDaemon::Installed() && daemon->Start({kMicrophone})) return daemon;
  *why = "pulseaudio does not run";
  return nullptr;
}

std::shared_ptr<void> StartPipeWire(std::string* dir, std::string* why) {
  if (!testing::PipeWireDaemon::Installed()) {
    *why = "pipewire, wireplumber or pipewire-pulse not installed";
    return nullptr;
  }
  auto daemon = std::make_shared<testing::PipeWireDaemon>();
  *dir = daemon->dir();
  if (daemon->Start() && testing::PipeWireDaemon::AddMicrophone(kMicrophoneName)) return daemon;
  *why = "pipewire's pulse service does not start";
  return nullptr;
}

// A volume control's level meter only looks at the microphone. PulseAudio marks it by its
// "peaks" resampler, PipeWire's pulse service by stream.monitor.
TEST(LevelMeterTest, AMeterOnTheMicrophoneIsNoCallWhereARecorderIsOnEitherServer) {
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  const std::pair<const char*, ServerStart> servers[] = {{"PulseAudio", StartPulseAudio},
                                                          {"PipeWire", StartPipeWire}};
  for (const auto& [name, start] : servers) {
    SCOPED_TRACE(name);
    std::string dir, why;
    const auto daemon = start(&dir, &why);
    if (!daemon) {
      std::cout << name << " skipped: " << why << "\n";
      continue;
    }
    LinuxDesktopBusyWatcher watcher;
    BusyLog log;
    log.Listen(watcher);
    Program meter({LEVEL_METER_PATH, kMicrophoneName});
    ASSERT_TRUE(testing::WaitUntil(std::chrono::seconds(10),
                                   [] { return StreamCount("source-outputs") == 1; }));
    // A real recorder is a call; once it ends, the meter, still there, must not hold it.
    auto recorder = Record(kMicrophoneName, dir);
    ASSERT_TRUE(log.WaitFor(BusyLog::InCall));
    recorder->End();
    ASSERT_TRUE(log.WaitFor(BusyLog::NoCall));
    EXPECT_EQ(StreamCount("source-outputs"), 1);
    EXPECT_EQ(log.States().size(), 2u);
  }
}

}  // namespace
}  // namespace chimewell
