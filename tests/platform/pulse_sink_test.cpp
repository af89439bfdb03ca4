// The sound-server sink against a real PulseAudio daemon of the test's own: no card, a null
// sink whose monitor parec records; the daemon is killed mid-play and started again.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/audio_test_support.h"
#include "platform/linux/child_process.h"
#include "platform/linux/open_audio_sink.h"
#include "platform/mixer.h"
#include "platform/recovering_sink.h"
#include "support/pulse_daemon.h"

namespace chimewell {
namespace {

using namespace std::chrono_literals;
using testing::PulseDaemon;
namespace fs = std::filesystem;

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

// parec on the null sink's monitor, raw 48 kHz stereo into a file.
class Recorder {
 public:
  explicit Recorder(std::string path) : path_(std::move(path)) {
    process_.Start({"parec", "-d", "chimewell_test.monitor", "--raw", "--format=s16le",
                    "--rate=48000", "--channels=2", "--latency-msec=20", path_});
  }
  // Waits (generously) until the server lists parec's stream: from then on it hears all.
  static bool WaitConnected() {
    return testing::WaitUntil(10s,
                              [] { return !Output("pactl list short source-outputs").empty(); });
  }
  // Waits (generously) until what was recorded so far passes `done`.
  bool WaitHeard(const std::function<bool(const testing::Heard&)>& done) {
    return testing::WaitUntil(10s, [&] { return done(testing::Listen(Heard(), 0.1)); });
  }
  ~Recorder() { Stop(); }
  void Stop() {
    process_.Kill();
    process_.Wait();
  }
  PcmClip Heard() {
    std::ifstream in(path_, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    PcmClip clip{kMixRate, 2, std::vector<int16_t>(bytes.size() / 2)};
    if (!clip.samples.empty()) {
      std::memcpy(clip.samples.data(), bytes.data(), clip.samples.size() * 2);
    }
    return clip;
  }

 private:
  std::string path_;
  ChildProcess process_;
};

class PulseSinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PulseDaemon::Installed()) GTEST_SKIP() << "pulseaudio or parec not installed";
    daemon_ = std::make_unique<PulseDaemon>();
    ASSERT_TRUE(daemon_->Start());
  }
  // Messages the sink gave, in order; the mixer thread adds them.
  std::vector<std::string> Messages() {
    const std::lock_guard lock(mutex_);
    return messages_;
  }
  OpenedSink Open() {
    return OpenAudioSink({AudioSinkSpec::Kind::kPulse, ""}, [this](const std::string& m) {
      const std::lock_guard lock(mutex_);
      messages_.push_back(m);
    });
  }

  std::unique_ptr<PulseDaemon> daemon_;
  std::mutex mutex_;
  std::vector<std::string> messages_;
};

const auto kTone = std::make_shared<const PcmClip>(testing::MakeTone(kMixRate, 2, 0.2, 1000.0));

int64_t MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

TEST_F(PulseSinkTest, PlaysAsItsOwnEventStreamAndIsHeardOnTheServer) {
  Recorder recorder(daemon_->dir() + "/heard.raw");
  ASSERT_TRUE(Recorder::WaitConnected());
  Mixer mixer(Open().sink);
  EXPECT_EQ(mixer.sink().Describe(), "pulse");
  mixer.Start();
  const auto voice =
      mixer.Play(MixChannel::kSound,
                 std::make_shared<const PcmClip>(testing::MakeTone(kMixRate, 2, 1.0, 1000.0)));
  std::this_thread::sleep_for(300ms);
  const std::string inputs = Output("pactl list sink-inputs");
  voice->Wait();
  mixer.Stop();
  // The tail still on its way through the server.
  recorder.WaitHeard([](const testing::Heard& h) { return h.Seconds(kMixRate) >= 0.95; });
  recorder.Stop();
  EXPECT_NE(inputs.find("media.role = \"event\""), std::string::npos) << inputs;
  EXPECT_NE(inputs.find("application.name = \"Chimewell\""), std::string::npos);
  EXPECT_NE(inputs.find("media.name = \"Chimewell\""), std::string::npos);
  const auto heard = testing::Listen(recorder.Heard(), 0.1);
  EXPECT_GT(heard.peak, 12000);
  EXPECT_NEAR(heard.Seconds(kMixRate), 1.0, 0.1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(PulseSinkTest, AServerThatDiesMidPlayIsReopenedWhenItReturns) {
  Mixer mixer(Open().sink);
  mixer.Start();
  // Short sounds back to back for as long as the test runs, as a busy schedule would play.
  std::atomic<bool> playing{true};
  std::thread player([&] {
    while (playing) mixer.Play(MixChannel::kSound, kTone)->Wait();
  });
  std::this_thread::sleep_for(500ms);
  daemon_->Kill();
  std::this_thread::sleep_for(1s);  // sound in this second goes nowhere, and nothing spins
  ASSERT_TRUE(daemon_->Start());
  const auto back = std::chrono::steady_clock::now();
  Recorder recorder(daemon_->dir() + "/after.raw");
  ASSERT_TRUE(Recorder::WaitConnected());
  // The figure for the notes: from the server answering again to our sound being heard on it.
  ASSERT_TRUE(recorder.WaitHeard([](const testing::Heard& h) { return h.peak > 12000; }));
  const auto resumed_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - back);
  std::cout << "sound again " << resumed_ms.count() << " ms after the server returned\n";
  RecordProperty("resumed_after_ms", static_cast<int>(resumed_ms.count()));
  // Told back once the reopened stream has worked for a moment.
  testing::WaitUntil(RecoveringSink::kSettled + 10s, [this] { return Messages().size() >= 2; });
  playing = false;
  player.join();
  mixer.Stop();
  recorder.Stop();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"サウンド出力が使えません", "サウンド出力を再開しました"}));
  EXPECT_GT(testing::Listen(recorder.Heard(), 0.1).peak, 12000);
}

// Our stream as the server lists it ("Corked: yes"), empty while there is none.
std::string OurStream() {
  const std::string inputs = Output("pactl list sink-inputs");
  return inputs.find("application.name = \"Chimewell\"") == std::string::npos ? "" : inputs;
}
bool SinkSuspended() {
  return Output("pactl list short sinks").find("SUSPENDED") != std::string::npos;
}

class IdlePulseSinkTest : public PulseSinkTest {
 protected:
  void SetUp() override {
    if (!PulseDaemon::Installed()) GTEST_SKIP() << "pulseaudio or parec not installed";
    daemon_ = std::make_unique<PulseDaemon>();
    ASSERT_TRUE(daemon_->Start({kSuspendOnIdle}));
  }
  // The server suspends a sink that nobody has used for a second, as a desktop's does after
  // a few.
  static constexpr char kSuspendOnIdle[] = "module-suspend-on-idle timeout=1";
};

// Where each sound of a recording begins: the first loud frame after a tenth of a second or
// more of silence.
std::vector<size_t> Onsets(const PcmClip& clip) {
  std::vector<size_t> onsets;
  std::optional<size_t> last_loud;
  for (size_t f = 0; f < clip.Frames(); ++f) {
    if (std::abs(static_cast<int>(clip.samples[f * 2])) < 1000) continue;
    if (!last_loud || f - *last_loud > kMixRate / 10) onsets.push_back(f);
    last_loud = f;
  }
  return onsets;
}

// An idle clock corks its stream and the server lets its sink sleep. Sounds placed on their
// moments, as announcements are, then land the same on a stream woken for them as on an awake
// one: the spacing of their onsets on the server is the spacing of their moments. (The first
// sound only opens the way, a new stream's first moments being the server's to settle; the
// recorder keeps the sink awake, so the stream's own corking is what is measured there.)
TEST_F(IdlePulseSinkTest, AnIdleStreamLetsTheSinkSleepAndPlacesSoundsAsAnAwakeOneOnWaking) {
  Mixer mixer(Open().sink);
  mixer.Start();
  mixer.Play(MixChannel::kSound, kTone)->Wait();
  EXPECT_NE(OurStream().find("Corked: no"), std::string::npos);
  const auto idle = std::chrono::steady_clock::now();
  ASSERT_TRUE(testing::WaitUntil(Mixer::kRestAfter + 10s, SinkSuspended));
  const int64_t suspended_ms = MsSince(idle);
  std::cout << "sink suspended " << suspended_ms << " ms after the last sound\n";
  EXPECT_GE(suspended_ms, std::chrono::milliseconds(Mixer::kRestAfter).count());
  EXPECT_NE(OurStream().find("Corked: yes"), std::string::npos);

  Recorder recorder(daemon_->dir() + "/onsets.raw");
  ASSERT_TRUE(Recorder::WaitConnected());
  const WallMoment awake = Mixer::SystemWallNow() + 4s;
  const WallMoment woken = awake + Mixer::kRestAfter + 3s;
  mixer.PlayAt(MixChannel::kSound, kTone, awake - 3s);
  mixer.PlayAt(MixChannel::kSound, kTone, awake);
  // Handed over half a second ahead, as the clock does.
  std::this_thread::sleep_for(woken - 500ms - Mixer::SystemWallNow());
  EXPECT_NE(OurStream().find("Corked: yes"), std::string::npos);
  mixer.PlayAt(MixChannel::kSound, kTone, woken)->Wait();
  recorder.WaitHeard([](const testing::Heard& h) { return h.Seconds(kMixRate) >= 15.1; });
  mixer.Stop();
  recorder.Stop();
  const auto onsets = Onsets(recorder.Heard());
  ASSERT_EQ(onsets.size(), 3u);
  const double error_ms = static_cast<double>(onsets[2] - onsets[1]) * 1000.0 / kMixRate -
                          static_cast<double>((woken - awake).count()) / 1000.0;
  std::cout << "woken stream: onset " << error_ms << " ms from an awake one's\n";
  RecordProperty("woken_onset_error_us", static_cast<int>(error_ms * 1000));
  EXPECT_LT(std::abs(error_ms), 20.0);
  EXPECT_TRUE(Messages().empty());
}

// A server killed while nothing plays, and started again: the clock finds it within about a
// second, without waiting for sound, and the next sound is heard whole. The user hears of the
// loss when it happened, not at the next sound.
TEST_F(IdlePulseSinkTest, AServerRestartedWhileIdleIsUsedAgainWithinASecond) {
  Mixer mixer(Open().sink);
  mixer.Start();
  mixer.Play(MixChannel::kSound, kTone)->Wait();
  daemon_->Kill();
  ASSERT_TRUE(testing::WaitUntil(5s, [this] { return !Messages().empty(); }));
  ASSERT_TRUE(daemon_->Start({kSuspendOnIdle}));
  const auto back = std::chrono::steady_clock::now();
  ASSERT_TRUE(testing::WaitUntil(10s, [] { return !OurStream().empty(); }));
  const int64_t reconnect_ms = MsSince(back);
  std::cout << "stream again " << reconnect_ms << " ms after the server returned\n";
  RecordProperty("reconnected_after_ms", static_cast<int>(reconnect_ms));
  EXPECT_LT(reconnect_ms, 2500);
  // Reconnected corked: the returned server's sink may sleep on.
  EXPECT_NE(OurStream().find("Corked: yes"), std::string::npos);
  ASSERT_TRUE(testing::WaitUntil(5s, [this] { return Messages().size() >= 2; }));

  Recorder recorder(daemon_->dir() + "/next.raw");
  ASSERT_TRUE(Recorder::WaitConnected());
  mixer.PlayAt(MixChannel::kSound, kTone, Mixer::SystemWallNow() + 500ms)->Wait();
  ASSERT_TRUE(recorder.WaitHeard([](const testing::Heard& h) { return h.Seconds(kMixRate) >= 0.19; }));
  mixer.Stop();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"サウンド出力が使えません", "サウンド出力を再開しました"}));
}

// The ALSA device is closed while it rests, and opened again by the next sound.
TEST_F(PulseSinkTest, AlsaThroughTheServerIsHeardAfterItsRest) {
  Recorder recorder(daemon_->dir() + "/alsa.raw");
  ASSERT_TRUE(Recorder::WaitConnected());
  std::string error;
  auto sink = MakeAlsaSink("pulse", &error);
  if (!sink) GTEST_SKIP() << "no ALSA pulse device: " << error;
  const auto streams = [] { return Output("pactl list short sink-inputs"); };
  ASSERT_TRUE(testing::WaitUntil(5s, [&] { return !streams().empty(); }));
  sink->Rest();
  ASSERT_TRUE(testing::WaitUntil(5s, [&] { return streams().empty(); }));
  Mixer mixer(std::move(sink));
  mixer.Start();
  // Placed half a second ahead, as announcements are: the silence before it covers the
  // reopening and the server's null sink waking from its idle state. Heard whole to within a
  // block.
  mixer.PlayAt(MixChannel::kSound, kTone, Mixer::SystemWallNow() + 500ms)->Wait();
  mixer.Stop();  // lets the tail play out
  recorder.WaitHeard([](const testing::Heard& h) { return h.Seconds(kMixRate) >= 0.18; });
  recorder.Stop();
  const auto heard = testing::Listen(recorder.Heard(), 0.1);
  EXPECT_GT(heard.peak, 12000);
  EXPECT_GE(heard.Seconds(kMixRate), 0.18);
}

// A server that keeps its socket and answers nothing: every wait on it ends at its limit.
TEST_F(PulseSinkTest, AWedgedServerCostsSecondsNeverTheClock) {
  Mixer mixer(Open().sink);
  mixer.Start();
  mixer.Play(MixChannel::kSound, kTone)->Wait();
  daemon_->Freeze();

  // The mixer stuck in a write to the server: Stop still returns and frees the waiters.
  const auto voice = mixer.Play(MixChannel::kSound, kTone);
  std::this_thread::sleep_for(300ms);
  auto start = std::chrono::steady_clock::now();
  mixer.Stop();
  const int64_t stop_ms = MsSince(start);
  std::cout << "Mixer::Stop with a wedged sound server: " << stop_ms << " ms\n";
  RecordProperty("stop_with_wedged_server_ms", static_cast<int>(stop_ms));
  EXPECT_LT(stop_ms, 3000);
  EXPECT_TRUE(voice->Finished());

  // Connecting gives up after its limit.
  std::string error;
  start = std::chrono::steady_clock::now();
  EXPECT_EQ(MakePulseSink(&error), nullptr);
  EXPECT_LT(MsSince(start), 7000);
  EXPECT_EQ(error, kPulseNoAnswer);
  // Nor does the automatic choice go on to ALSA's default, which reaches the same server
  // through a plugin that waits far longer.
  start = std::chrono::steady_clock::now();
  const auto automatic = OpenAudioSink({AudioSinkSpec::Kind::kAuto, ""}, nullptr).sink;
  EXPECT_LT(MsSince(start), 7000);
  EXPECT_EQ(automatic->Describe(), "auto");  // no device yet: retried later

  daemon_->Thaw();
}

}  // namespace
}  // namespace chimewell
