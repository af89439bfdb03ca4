#include "platform/mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <future>
#include <iostream>
#include <mutex>
#include <thread>

#include "platform/audio_test_support.h"

namespace chimewell {
namespace {

using testing::MakeTone;

// Drives the mixer by hand, block by block, and keeps everything it produced.
struct ManualMixer {
  Mixer mixer{MakeNullSink()};
  PcmClip out{kMixRate, 2, {}};
  void Blocks(int n) {
    std::vector<int16_t> block(Mixer::kBlockFrames * 2);
    for (int i = 0; i < n; ++i) {
      mixer.MixBlock(block.data(), Mixer::kBlockFrames);
      out.samples.insert(out.samples.end(), block.begin(), block.end());
    }
  }
};

std::shared_ptr<const PcmClip> Share(PcmClip clip) {
  return std::make_shared<const PcmClip>(std::move(clip));
}

TEST(MixerTest, PlaysAClipAtTheMixRateSampleForSample) {
  ManualMixer m;
  const auto tone = MakeTone(kMixRate, 1, 0.025);  // two and a half blocks
  const auto voice = m.mixer.Play(MixChannel::kSound, Share(tone));
  EXPECT_FALSE(voice->Started());
  m.Blocks(1);
  EXPECT_TRUE(voice->Started());
  EXPECT_FALSE(voice->Finished());
  m.Blocks(3);
  EXPECT_TRUE(voice->Finished());
  for (size_t i = 0; i < tone.Frames(); ++i) {
    ASSERT_NEAR(m.out.samples[i * 2], tone.samples[i], 1) << i;
    ASSERT_EQ(m.out.samples[i * 2], m.out.samples[i * 2 + 1]);  // mono goes to both sides
  }
  EXPECT_EQ(testing::Listen(m.out).last, tone.Frames() - 1);
}

TEST(MixerTest, ResamplesToTheSameDuration) {
  ManualMixer m;
  const auto tone = MakeTone(11025, 2, 0.2);
  m.mixer.Play(MixChannel::kSound, Share(tone));
  m.Blocks(30);
  const auto heard = testing::Listen(m.out);
  EXPECT_NEAR(heard.Seconds(kMixRate), 0.2, 0.002);
}

TEST(MixerTest, AppliesVoiceAndChannelGainsAndClips) {
  ManualMixer m;
  PcmClip dc{kMixRate, 1, std::vector<int16_t>(Mixer::kBlockFrames, 16384)};
  const auto voice = m.mixer.Play(MixChannel::kSpeech, Share(dc), 1.0f, 0.25f);
  m.mixer.SetChannelGain(MixChannel::kSpeech, 0.5f);
  m.Blocks(1);
  EXPECT_NEAR(m.out.samples[0], 8192, 2);
  EXPECT_NEAR(m.out.samples[1], 2048, 2);

  // Three full-scale sources on top of each other saturate instead of wrapping round.
  ManualMixer loud;
  PcmClip full{kMixRate, 1, std::vector<int16_t>(Mixer::kBlockFrames, 30000)};
  for (auto ch : {MixChannel::kSound, MixChannel::kSpeech, MixChannel::kMusic}) {
    loud.mixer.Play(ch, Share(full));
  }
  loud.Blocks(1);
  EXPECT_EQ(loud.out.samples[0], 32767);
}

TEST(MixerTest, StoppingEndsOneVoiceOrOneChannelAtOnce) {
  ManualMixer m;
  const auto long_tone = Share(MakeTone(kMixRate, 1, 5.0));
  const auto sound = m.mixer.Play(MixChannel::kSound, long_tone);
  const auto speech = m.mixer.Play(MixChannel::kSpeech, long_tone);
  m.Blocks(1);
  m.mixer.StopChannel(MixChannel::kSound);
  EXPECT_TRUE(sound->Finished());  // waiters return without another block
  EXPECT_TRUE(sound->WaitFor(std::chrono::milliseconds(0)));
  EXPECT_FALSE(speech->Finished());
  speech->Stop();
  m.Blocks(1);
  EXPECT_EQ(
      testing::Listen(
          PcmClip{
              kMixRate, 2, {m.out.samples.begin() + Mixer::kBlockFrames * 2, m.out.samples.end()}})
          .loud_frames,
      0u);
}

TEST(MixerTest, RendererAddsUntilRemovedOrUntilItSaysItIsDone) {
  ManualMixer m;
  int blocks_left = 2;
  const auto renderer = [&blocks_left](float* l, float* r, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      l[i] += 0.25f;
      r[i] -= 0.25f;
    }
    return --blocks_left > 0;
  };
  m.mixer.SetRenderer(MixChannel::kMusic, renderer);
  m.mixer.SetChannelGain(MixChannel::kMusic, 0.5f);
  m.Blocks(1);
  m.mixer.SetRenderer(MixChannel::kMusic, nullptr);
  m.Blocks(1);
  EXPECT_NEAR(m.out.samples[0], 4096, 2);
  EXPECT_NEAR(m.out.samples[1], -4096, 2);
  EXPECT_EQ(m.out.samples[Mixer::kBlockFrames * 2], 0);

  // A renderer whose source has ended is dropped after its last block.
  m.mixer.SetRenderer(MixChannel::kMusic, renderer);
  blocks_left = 2;
  m.Blocks(1);
  EXPECT_TRUE(m.mixer.HasRenderer(MixChannel::kMusic));
  m.Blocks(1);
  EXPECT_FALSE(m.mixer.HasRenderer(MixChannel::kMusic));
  EXPECT_NEAR(m.out.samples[Mixer::kBlockFrames * 2 * 3], 4096, 2);  // the last block counts
}

TEST(MixerTest, AfterStopNothingPlaysAndNobodyWaits) {
  Mixer mixer(MakeNullSink());
  mixer.Start();
  const auto voice = mixer.Play(MixChannel::kSound, Share(MakeTone(kMixRate, 1, 60.0)));
  mixer.Stop();
  EXPECT_TRUE(voice->Finished());
  EXPECT_TRUE(mixer.Play(MixChannel::kSound, Share(MakeTone(kMixRate, 1, 1.0)))->Finished());
}

// A device-like sink that counts the blocks it is given.
class CountingSink final : public AudioSink {
 public:
  bool Write(const int16_t*, size_t) override {
    ++blocks;
    return true;
  }
  void Close() override {}
  std::string Describe() const override { return "counting"; }
  std::atomic<int> blocks{0};
};

TEST(MixerTest, WithNothingToPlayADeviceGetsNoWritesUntilSomethingIsQueued) {
  auto owned = std::make_unique<CountingSink>();
  CountingSink& sink = *owned;
  Mixer mixer(std::move(owned));
  mixer.Start();
  const auto voice = mixer.Play(MixChannel::kSound, Share(MakeTone(kMixRate, 1, 0.02)));
  voice->Wait();
  const int after_clip = sink.blocks.load();
  EXPECT_GE(after_clip, 1);
  // Idle: a running mixer would write a block every 10 ms here.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const int idle = sink.blocks.load();
  EXPECT_LE(idle, after_clip + 1);  // at most the block in flight when the clip ended
  mixer.Play(MixChannel::kSound, Share(MakeTone(kMixRate, 1, 0.02)))->Wait();
  mixer.Stop();  // joins the mixing thread, so every write has been counted
  EXPECT_GE(sink.blocks.load(), idle + 2);
}

// Holds whoever enters until it is opened: a device whose write never returns, a renderer
// busy with a large file.
class Gate {
 public:
  void Enter() {
    std::unique_lock lock(mutex_);
    ++entered_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }
  void Open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  bool WaitEntered() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return entered_ > 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  int entered_ = 0;
};

// Runs `step` on another thread; false when it has not returned within a generous limit, so
// a regression fails the test instead of hanging it.
bool ReturnsPromptly(const std::function<void()>& step) {
  auto done = std::async(std::launch::async, step);
  return done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

struct WedgedState {
  Gate write;
  std::atomic<bool> closed{false};
};

class WedgedSink final : public AudioSink {
 public:
  explicit WedgedSink(std::shared_ptr<WedgedState> state) : state_(std::move(state)) {}
  bool Write(const int16_t*, size_t) override {
    state_->write.Enter();
    return true;
  }
  void Close() override { state_->closed = true; }
  std::string Describe() const override { return "wedged"; }

 private:
  std::shared_ptr<WedgedState> state_;
};

TEST(MixerTest, AWedgedDeviceHoldsUpNeitherSkipNorStop) {
  const auto state = std::make_shared<WedgedState>();
  auto mixer = std::make_unique<Mixer>(std::make_unique<WedgedSink>(state));
  mixer->Start();
  const auto voice = mixer->Play(MixChannel::kSound, Share(MakeTone(kMixRate, 1, 5.0)));
  ASSERT_TRUE(state->write.WaitEntered());

  // Skip: the worker waiting for the sound is let go although no block moves.
  auto waiter = std::async(std::launch::async, [&] { voice->Wait(); });
  mixer->StopChannel(MixChannel::kSound);
  EXPECT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready);

  const auto speech = mixer->Play(MixChannel::kSpeech, Share(MakeTone(kMixRate, 1, 5.0)));
  const auto before = std::chrono::steady_clock::now();
  EXPECT_TRUE(ReturnsPromptly([&] { mixer->Stop(); }));
  const auto stop_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - before)
                           .count();
  std::cout << "Mixer::Stop with a wedged sink: " << stop_ms << " ms\n";
  RecordProperty("stop_with_wedged_sink_ms", static_cast<int>(stop_ms));
  EXPECT_TRUE(speech->Finished());
  EXPECT_FALSE(state->closed);  // still inside its write

  // The mixer goes; the thread left in the device closes it once the write comes back, and
  // touches nothing of the mixer (the address sanitizer would see it).
  mixer.reset();
  state->write.Open();
  EXPECT_TRUE(testing::WaitUntil(std::chrono::seconds(10), [&] { return state->closed.load(); }));
}

TEST(MixerTest, ASlowRendererHoldsUpNoCaller) {
  Mixer mixer(std::make_unique<CountingSink>());
  mixer.Start();
  Gate render;
  mixer.SetRenderer(MixChannel::kMusic, [&render](float*, float*, size_t) {
    render.Enter();
    return false;
  });
  ASSERT_TRUE(render.WaitEntered());
  EXPECT_TRUE(ReturnsPromptly([&] {
    mixer.SetChannelGain(MixChannel::kMusic, 0.5f);
    mixer.Play(MixChannel::kSound, Share(MakeTone(kMixRate, 1, 1.0)));
    mixer.StopChannel(MixChannel::kSound);
    EXPECT_TRUE(mixer.HasRenderer(MixChannel::kMusic));
  }));
  render.Open();
  mixer.Stop();
  EXPECT_FALSE(mixer.HasRenderer(MixChannel::kMusic));
}

TEST(AudioSinkSpecTest, ParsesEachKind) {
  using Kind = AudioSinkSpec::Kind;
  EXPECT_EQ(ParseAudioSinkSpec("alsa")->target, "default");
  EXPECT_EQ(ParseAudioSinkSpec("pulse")->kind, Kind::kPulse);
  EXPECT_EQ(ParseAudioSinkSpec("auto")->kind, Kind::kAuto);
  const auto hw = ParseAudioSinkSpec("alsa:hw:1,0");
  ASSERT_TRUE(hw);
  EXPECT_EQ(hw->kind, Kind::kAlsa);
  EXPECT_EQ(hw->target, "hw:1,0");
  const auto wav = ParseAudioSinkSpec("wav:/tmp/a:b.wav");
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->kind, Kind::kWav);
  EXPECT_EQ(wav->target, "/tmp/a:b.wav");
  EXPECT_EQ(ParseAudioSinkSpec("null")->kind, Kind::kNull);
  for (const char* bad : {"", "wav", "wav:", "alsa:", "pulse:x", "null:x", "WAV:x"}) {
    EXPECT_FALSE(ParseAudioSinkSpec(bad)) << bad;
  }
}

}  // namespace
}  // namespace chimewell
