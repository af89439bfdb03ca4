// Sound figures: mixer CPU per second of audio, play-to-first-sample latency, speech first
// audio, the time from a lost sound device returning to sound resuming, and how long the
// mixer takes to stop when its device's write never returns.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/audio_test_support.h"
#include "platform/builtin_chime.h"
#include "platform/linux/child_process.h"
#include "platform/linux/fluidsynth_midi.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer.h"
#include "platform/mixer_sound_player.h"
#include "platform/recovering_sink.h"

namespace chimewell {
namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr char kTenCharacters[] = "ただいまの時刻は三時";

std::shared_ptr<const PcmClip> Share(PcmClip clip) {
  return std::make_shared<const PcmClip>(std::move(clip));
}

// One second of audio (100 blocks) with all three channels busy: the chime re-struck whenever
// it ends (converted from 11,025 Hz once, as the sound player loads it), speech-like 48 kHz
// mono, and, with arg 1, FluidSynth rendering a piece of music.
void BM_MixerCpuPerSecondOfAudio(benchmark::State& state) {
  Mixer mixer(MakeNullSink());
  const auto chime = LoadClip(BuiltInChimeImage());
  const auto speech = Share(testing::MakeTone(kMixRate, 1, 3600.0, 200.0, 0.3));
  mixer.Play(MixChannel::kSpeech, speech);
  FluidSynthMidi midi(mixer);
  const std::string song = testing::TempPath("bench.mid");
  if (state.range(0) == 1) {
    std::vector<int> notes;
    for (int i = 0; i < 2000; ++i) notes.push_back(48 + i % 24);
    testing::WriteBytes(song, testing::MakeMidi(notes, 240));
    int32_t handle = 0;
    if (midi.KBGMOpen(10, -1) != 0 || midi.KBGMLoadFile(&handle, song) != 0 ||
        midi.KBGMPlay(handle, 0) != 0) {
      state.SkipWithError("FluidSynth could not play");
      return;
    }
  }
  std::vector<int16_t> block(Mixer::kBlockFrames * 2);
  auto sound = mixer.Play(MixChannel::kSound, chime);
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      if (sound->Finished()) sound = mixer.Play(MixChannel::kSound, chime);
      mixer.MixBlock(block.data(), Mixer::kBlockFrames);
    }
    benchmark::DoNotOptimize(block.data());
  }
  midi.KBGMClose();
  std::remove(song.c_str());
  state.SetLabel(state.range(0) == 1 ? "sound+speech+FluidSynth music" : "sound+speech, no music");
}
BENCHMARK(BM_MixerCpuPerSecondOfAudio)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// From a Play call on a running mixer (real-time paced sink) to the block holding the first
// sample being handed to the sink. Calls are spread over the block period.
void BM_PlayToFirstSampleLatency(benchmark::State& state) {
  Mixer mixer(MakeNullSink());
  mixer.Start();
  const auto clip = Share(testing::MakeTone(kMixRate, 1, 0.002));
  double worst = 0;
  int phase = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::microseconds(1700 * (phase++ % 7)));
    const auto call = SteadyClock::now();
    const auto voice = mixer.Play(MixChannel::kSound, clip);
    voice->WaitStarted();
    const double seconds = std::chrono::duration<double>(voice->StartTime() - call).count();
    worst = std::max(worst, seconds);
    state.SetIterationTime(seconds);
    voice->Wait();
  }
  state.counters["worst_ms"] = worst * 1000;
  mixer.Stop();
}
BENCHMARK(BM_PlayToFirstSampleLatency)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// From SpeakText of a ten-character text to its first sample going to the sink. Announcements
// come seconds apart, so each call finds the next Open JTalk process loaded and waiting.
void BM_SpeechFirstAudioLatency(benchmark::State& state) {
  Mixer mixer(MakeNullSink());
  mixer.Start();
  OpenJTalkSpeech speech(mixer,
                         [](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); });
  if (!speech.Available()) {
    state.SkipWithError("Open JTalk is not installed");
    return;
  }
  std::mutex mutex;
  std::condition_variable cv;
  bool started = false;
  SteadyClock::time_point start_time;
  speech.SetAudioEvents(
      [&] {
        const std::lock_guard lock(mutex);
        started = true;
        start_time = SteadyClock::now();
        cv.notify_all();
      },
      nullptr);
  double worst = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::unique_lock lock(mutex);
    started = false;
    const auto call = SteadyClock::now();
    speech.SpeakText(kTenCharacters);
    cv.wait(lock, [&] { return started; });
    const double seconds = std::chrono::duration<double>(start_time - call).count();
    worst = std::max(worst, seconds);
    state.SetIterationTime(seconds);
    lock.unlock();
    speech.StopSpeech();
  }
  state.counters["worst_ms"] = worst * 1000;
  mixer.Stop();
}
BENCHMARK(BM_SpeechFirstAudioLatency)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// The part of the speech latency that is Open JTalk itself: one run of the program for the
// same text, start to exit (dictionary loading and synthesis of the whole utterance).
void BM_OpenJTalkProcessAlone(benchmark::State& state) {
  std::string missing;
  const auto setup = FindOpenJTalk({}, &missing);
  if (!missing.empty()) {
    state.SkipWithError("Open JTalk is not installed");
    return;
  }
  const std::string text = testing::TempPath("bench.txt");
  const std::string wav = testing::TempPath("bench.wav");
  testing::WriteBytes(
      text, std::vector<uint8_t>(kTenCharacters, kTenCharacters + sizeof kTenCharacters - 1));
  for (auto _ : state) {
    ChildProcess process;
    process.Start({setup.command, "-x", setup.dictionary, "-m", setup.voice, "-ow", wav, text});
    process.Wait();
  }
  std::remove(text.c_str());
  std::remove(wav.c_str());
}
BENCHMARK(BM_OpenJTalkProcessAlone)->Iterations(20)->Unit(benchmark::kMillisecond);

// A sound device that is gone for `outage` and then takes sound again, as a sound server
// that restarts. Reports when it took its first block.
class ReturningDevice final : public AudioSink {
 public:
  explicit ReturningDevice(std::atomic<int64_t>* first_write) : first_write_(first_write) {}
  bool Write(const int16_t*, size_t frames) override {
    int64_t none = 0;
    first_write_->compare_exchange_strong(none, SteadyClock::now().time_since_epoch().count());
    pacer_.Pace(frames);
    return true;
  }
  void Close() override {}
  std::string Describe() const override { return "returning"; }

 private:
  std::atomic<int64_t>* first_write_;  // steady clock ticks; 0 until the first write
  RealTimePacer pacer_{SystemSteadyTime()};
};

// From the moment a lost device can be opened again to the first block it is given, while
// sound keeps playing. The figure depends on how long the device was gone (arg, in ms): the
// retries come 0.5 s after the loss, then at pauses doubling up to 5 s (up to 30 s for a
// device that keeps failing soon after each reopening).
void BM_DeviceReturnToSound(benchmark::State& state) {
  const auto outage = std::chrono::milliseconds(state.range(0));
  for (auto _ : state) {
    const SteadyClock::time_point lost_at = SteadyClock::now();
    std::atomic<int64_t> first_write{0};
    auto sink = std::make_unique<RecoveringSink>(
        [&](std::string*) -> std::unique_ptr<AudioSink> {
          if (SteadyClock::now() - lost_at < outage) return nullptr;
          return std::make_unique<ReturningDevice>(&first_write);
        },
        "bench", nullptr);
    Mixer mixer(std::move(sink));
    mixer.Start();
    const auto tone = mixer.Play(MixChannel::kSound, Share(testing::MakeTone(kMixRate, 1, 30.0)));
    while (first_write.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const SteadyClock::time_point resumed{SteadyClock::duration(first_write.load())};
    state.SetIterationTime(std::chrono::duration<double>(resumed - (lost_at + outage)).count());
    mixer.Stop();
  }
}
BENCHMARK(BM_DeviceReturnToSound)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// A device whose write never returns (a wedged USB or HDMI link) until the bench lets it go.
class WedgedDevice final : public AudioSink {
 public:
  struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false, open = false;
  };
  explicit WedgedDevice(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {}
  bool Write(const int16_t*, size_t) override {
    std::unique_lock lock(gate_->mutex);
    gate_->entered = true;
    gate_->changed.notify_all();
    gate_->changed.wait(lock, [this] { return gate_->open; });
    return false;
  }
  void Close() override {}
  std::string Describe() const override { return "wedged"; }

 private:
  std::shared_ptr<Gate> gate_;
};

// Mixer::Stop while the mixing thread is stuck in its device's write: the exit's cost.
void BM_MixerStopWithWedgedSink(benchmark::State& state) {
  for (auto _ : state) {
    const auto gate = std::make_shared<WedgedDevice::Gate>();
    auto mixer = std::make_unique<Mixer>(std::make_unique<WedgedDevice>(gate));
    mixer->Start();
    mixer->Play(MixChannel::kSound, Share(testing::MakeTone(kMixRate, 1, 5.0)));
    {
      std::unique_lock lock(gate->mutex);
      gate->changed.wait(lock, [&] { return gate->entered; });
    }
    const auto before = SteadyClock::now();
    mixer->Stop();
    state.SetIterationTime(std::chrono::duration<double>(SteadyClock::now() - before).count());
    mixer.reset();
    const std::lock_guard lock(gate->mutex);
    gate->open = true;  // the thread left in the device ends by itself
    gate->changed.notify_all();
  }
}
BENCHMARK(BM_MixerStopWithWedgedSink)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace chimewell
