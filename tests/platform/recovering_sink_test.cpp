// Device loss and recovery in virtual time: a device that refuses to open for a while and one
// that fails after some writes, driven block by block.
#include "platform/recovering_sink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "platform/failure_reporter.h"
#include "platform/mixer.h"

namespace chimewell {
namespace {

using std::chrono::milliseconds;

// Time that moves only when someone sleeps.
class VirtualSteadyTime final : public SteadyTime {
 public:
  TimePoint Now() const override { return now_; }
  void SleepUntil(TimePoint when) override { now_ = std::max(now_, when); }
  int64_t Ms() const {
    return std::chrono::duration_cast<milliseconds>(now_.time_since_epoch()).count();
  }
  void Advance(milliseconds ms) { now_ += ms; }

 private:
  TimePoint now_{};
};

// A device that takes `writes_left` blocks, then fails every write. It keeps (virtual) real
// time as a sound card does.
class FlakyDevice final : public AudioSink {
 public:
  FlakyDevice(VirtualSteadyTime& time, int writes_left, int* heard)
      : time_(time), writes_left_(writes_left), heard_(heard) {}
  bool Write(const int16_t*, size_t frames) override {
    if (writes_left_-- <= 0) return false;
    ++*heard_;
    time_.Advance(milliseconds(frames * 1000 / kMixRate));
    return true;
  }
  void Close() override {}
  std::string Describe() const override { return "flaky"; }

 private:
  VirtualSteadyTime& time_;
  int writes_left_;
  int* heard_;
};

// Each open attempt takes the next entry: -1 refuses, n >= 0 opens a device good for n blocks.
struct Scenario {
  const char* name;
  std::vector<int> opens;
  double seconds;                     // how long sound is written
  std::vector<int64_t> attempts_ms;   // when each open was tried
  std::vector<std::string> messages;  // what the user was told, in order
  int heard_blocks;
};

// Reopenings run in place, so the virtual clock has one thread.
const RecoveringSink::Launcher kInPlace = [](const std::function<void()>& attempt) { attempt(); };

const char kLost[] = "サウンド出力が使えません";
const char kBack[] = "サウンド出力を再開しました";

TEST(RecoveringSinkTest, ReopensWithAGrowingPauseAndTellsEachEpisodeOnce) {
  const Scenario scenarios[] = {
      {"fails after 1 s, back at the first retry, told back after 10 s of play",
       {100, 2000}, 15.0, {0, 1500}, {kLost, kBack}, 1450},
      {"an absent device is looked for after 0.5 s, then every second",
       {100, -1, -1, -1, -1, -1, 3000},
       30.0,
       {0, 1500, 2500, 3500, 4500, 5500, 6500},
       {kLost, kBack},
       2450},
      {"cannot open at start, retried the same way", {-1, -1, 2000}, 13.0, {0, 500, 1500},
       {kLost, kBack}, 1150},
      {"a device that never comes back is told once", std::vector<int>(20, -1), 10.0,
       {0, 500, 1500, 2500, 3500, 4500, 5500, 6500, 7500, 8500, 9500}, {kLost}, 0},
      // Opens, takes one block, fails: the pause grows to 30 s and nothing more is said.
      {"a flapping device", std::vector<int>(20, 1), 60.0,
       {0, 510, 1520, 3540, 7550, 15560, 31570}, {kLost}, 7},
      // Told back once each reopened device has worked a second, and lost as it fails again:
      // as often as the growing pause lets it be reopened.
      {"a device that fails after 5 s each time", std::vector<int>(20, 500), 60.0,
       {0, 5500, 11500, 18510, 27510, 40510},
       {kLost, kBack, kLost, kBack, kLost, kBack, kLost, kBack, kLost, kBack, kLost},
       3000},
  };
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    VirtualSteadyTime time;
    std::vector<int64_t> attempts;
    std::vector<std::string> messages;
    int heard = 0;
    size_t next = 0;
    RecoveringSink sink(
        [&](std::string* error) -> std::unique_ptr<AudioSink> {
          attempts.push_back(time.Ms());
          const int outcome = next < s.opens.size() ? s.opens[next++] : -1;
          if (outcome < 0) {
            *error = "refused";
            return nullptr;
          }
          return std::make_unique<FlakyDevice>(time, outcome, &heard);
        },
        "test", [&](const std::string& m) { messages.push_back(m); }, time, kInPlace);
    const std::vector<int16_t> block(Mixer::kBlockFrames * kMixChannels);
    int writes = 0;
    while (time.Ms() < static_cast<int64_t>(s.seconds * 1000)) {
      ASSERT_TRUE(sink.Write(block.data(), Mixer::kBlockFrames));
      // Paced on the clock whether or not a device takes the sound: never a spin.
      ASSERT_LE(++writes, s.seconds * 100 + 20);
    }
    EXPECT_EQ(attempts, s.attempts_ms);
    EXPECT_EQ(messages, s.messages);
    EXPECT_EQ(heard, s.heard_blocks);
  }
}

// A reopening that hangs (a wedged server answering only after a while) runs on a thread of
// its own: the writes go on at the pace of the sound, and the device is taken up when it comes.
TEST(RecoveringSinkTest, ADeviceSlowToOpenHoldsUpNoWrite) {
  VirtualSteadyTime time;
  std::promise<void> answer;
  const std::shared_future<void> answered = answer.get_future().share();
  std::atomic<int> opens{0};
  int heard = 0;
  RecoveringSink sink(
      [&](std::string* error) -> std::unique_ptr<AudioSink> {
        if (opens++ == 0) {  // absent at start-up
          *error = "refused";
          return nullptr;
        }
        answered.wait();
        return std::make_unique<FlakyDevice>(time, 1000, &heard);
      },
      "test", nullptr, time);
  const std::vector<int16_t> block(Mixer::kBlockFrames * kMixChannels);
  // Three seconds of sound while the reopening started at 0.5 s hangs.
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(sink.Write(block.data(), Mixer::kBlockFrames));
  EXPECT_FALSE(sink.DeviceOpen());
  answer.set_value();
  for (int i = 0; i < 1000 && !sink.DeviceOpen(); ++i) {
    sink.Write(block.data(), Mixer::kBlockFrames);
    std::this_thread::sleep_for(milliseconds(1));
  }
  ASSERT_TRUE(sink.DeviceOpen());
  EXPECT_EQ(opens.load(), 2);  // no second reopening while the first was under way
  EXPECT_GE(heard, 1);
}

// A sound server that goes and comes back while the clock is idle: the mixer's tending alone
// notices the loss and finds the server again, so the next sound goes straight to it.
class ServerStream final : public AudioSink {
 public:
  ServerStream(const bool& server_up, int* rests) : server_up_(server_up), rests_(rests) {}
  bool Write(const int16_t*, size_t) override { return server_up_; }
  void Close() override {}
  std::string Describe() const override { return "server"; }
  void Rest() override { ++*rests_; }
  bool Working() override { return server_up_; }

 private:
  const bool& server_up_;
  int* rests_;
};

struct IdleScenario {
  const char* name;
  int64_t down_ms, up_ms;  // the server is gone in between
  std::vector<int64_t> attempts_ms;
  std::vector<std::pair<int64_t, std::string>> told;  // when, what
};

TEST(RecoveringSinkTest, WhileIdleALostServerIsNoticedAndUsedAgainWithinASecond) {
  const IdleScenario scenarios[] = {
      // Looked at every second, so the loss at 4.5 s is seen at 5 s.
      {"a quick restart", 4500, 5300, {0, 5500}, {{5000, kLost}, {6500, kBack}}},
      {"a server gone for a while", 4500, 9200, {0, 5500, 6500, 7500, 8500, 9500},
       {{5000, kLost}, {10500, kBack}}},
      {"a server that stays", 100000, 100000, {0}, {}},
  };
  for (const IdleScenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    VirtualSteadyTime time;
    bool up = true;
    int rests = 0;
    int opened = 0;
    std::vector<int64_t> attempts;
    std::vector<std::pair<int64_t, std::string>> told;
    RecoveringSink sink(
        [&](std::string* error) -> std::unique_ptr<AudioSink> {
          attempts.push_back(time.Ms());
          if (!up) {
            *error = "refused";
            return nullptr;
          }
          ++opened;
          return std::make_unique<ServerStream>(up, &rests);
        },
        "test", [&](const std::string& m) { told.emplace_back(time.Ms(), m); }, time, kInPlace);
    sink.Rest();
    // The mixer's idle loop: each call says when it wants the next.
    while (time.Ms() < 15000) {
      up = time.Ms() < s.down_ms || time.Ms() >= s.up_ms;
      const auto pause = sink.Tend();
      ASSERT_TRUE(pause.has_value());
      time.Advance(std::max(*pause, milliseconds(1)));
    }
    EXPECT_EQ(attempts, s.attempts_ms);
    EXPECT_EQ(told, s.told);
    // Every stream opened while idle was let rest at once.
    EXPECT_EQ(rests, opened);
    const std::vector<int16_t> block(Mixer::kBlockFrames * kMixChannels);
    ASSERT_TRUE(sink.Write(block.data(), Mixer::kBlockFrames));
    EXPECT_TRUE(sink.DeviceOpen());
  }
}

TEST(FailureReporterTest, TellsALastingFailureAtMostOnceAnHour) {
  VirtualSteadyTime time;
  std::vector<std::string> told;
  FailureReporter reporter([&](const std::string& m) { told.push_back(m); }, time);
  reporter.Failed("a");
  time.Advance(milliseconds(59 * 60 * 1000));
  reporter.Failed("a");
  EXPECT_EQ(told.size(), 1u);
  time.Advance(milliseconds(60 * 1000));
  reporter.Failed("b");
  EXPECT_EQ(told, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace chimewell
