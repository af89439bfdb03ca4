// Cost of composing a time signal, from PlayTimeSignal to the fragments handed to the worker,
// and the delay from PlayTimeSignal to the first sample reaching the capture sink.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/mixer.h"
#include "platform/wave_file.h"
#include "timesignal/time_signal.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

// Each voice file as big as a recorded word: half a second of 16-bit mono at 48 kHz.
std::vector<uint8_t> WordImage() {
  PcmClip clip{kMixRate, 1, {}};
  for (int i = 0; i < kMixRate / 2; ++i) {
    clip.samples.push_back(static_cast<int16_t>(8000 * std::sin(i * 0.05)));
  }
  return EncodeWave(clip);
}

struct NullOutput final : TimeSignalOutput {
  bool IsTimeSignalQueued() const override { return false; }
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int,
                     std::optional<WallMoment>) override {
    benchmark::DoNotOptimize(image);
    benchmark::DoNotOptimize(fragments);
  }
  void SetMessageCount(const std::string&, int, int, std::optional<WallMoment>) override {}
  void EnableSkip() override {}
  void AddLogLine(const std::string&) override {}
  void ShowPanelMessage(const std::string&) override {}
};

// A voice set of the given type on disk, made once per run.
std::string MakeSet(int type) {
  const std::string dir = std::filesystem::temp_directory_path().string() + "/chimewell-bench-" +
                          std::to_string(::getpid()) + "-" + std::to_string(type);
  std::filesystem::create_directories(dir);
  const std::vector<std::string> names = type == 2 ? TypeTwoAllNames() : VoiceList(type);
  const std::vector<uint8_t> image = WordImage();
  for (const std::string& name : names) {
    std::ofstream(dir + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
  }
  return dir;
}

void Compose(benchmark::State& state, int type, const char* format) {
  const std::string dir = MakeSet(type);
  RealFileSystem files;
  NullOutput output;
  TimeSignal time_signal(files, output);
  JihoSettings jiho;
  jiho.Type = type;
  jiho.Folder = dir;
  time_signal.LoadTimeSignalSettings(jiho);
  const TDateTime moment = *TryEncodeDateTime({2024, 3, 3, 23, 45, 37, 0});
  for (auto _ : state) {
    benchmark::DoNotOptimize(time_signal.PlayTimeSignal(format, 1, moment));
  }
  std::filesystem::remove_all(dir);
}

void BM_TypeOneDefault(benchmark::State& state) {
  Compose(state, 1, "[ampm][hh24][min][sec][opt2]");
}
void BM_TypeThreeVariants(benchmark::State& state) { Compose(state, 3, "[hour][min]"); }
// Type 2 reads every file from disk at announcement time.
void BM_TypeTwoReadsFiles(benchmark::State& state) {
  Compose(state, 2, "[mon][day][wday][hh24][min][opt24]");
}

// Plays the first fragment on the mixer the way the message worker does, so the time from
// PlayTimeSignal to its first sample going to the sink can be taken.
struct MixerOutput final : TimeSignalOutput {
  explicit MixerOutput(Mixer& m) : mixer(m) {}
  bool IsTimeSignalQueued() const override { return false; }
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int,
                     std::optional<WallMoment>) override {
    auto clip = ParseWave(image->FileAt(fragments.front()));
    voice = mixer.Play(MixChannel::kSound, std::make_shared<const PcmClip>(std::move(*clip)));
  }
  void SetMessageCount(const std::string&, int, int, std::optional<WallMoment>) override {}
  void EnableSkip() override {}
  void AddLogLine(const std::string&) override {}
  void ShowPanelMessage(const std::string&) override {}

  Mixer& mixer;
  std::shared_ptr<MixerVoice> voice;
};

void BM_FirstSampleThroughCaptureSink(benchmark::State& state) {
  const std::string dir = MakeSet(1);
  Mixer mixer(MakeWavFileSink(dir + "/capture.wav"));
  mixer.Start();
  RealFileSystem files;
  MixerOutput output(mixer);
  TimeSignal time_signal(files, output);
  JihoSettings jiho;
  jiho.Type = 1;
  jiho.Folder = dir;
  time_signal.LoadTimeSignalSettings(jiho);
  const TDateTime moment = *TryEncodeDateTime({2024, 3, 3, 15, 0, 0, 0});
  double worst_ms = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    time_signal.PlayTimeSignal("default", 1, moment);
    output.voice->WaitStarted();
    const std::chrono::duration<double> delay = output.voice->StartTime() - start;
    state.SetIterationTime(delay.count());
    worst_ms = std::max(worst_ms, delay.count() * 1000);
    output.voice->Stop();
  }
  state.counters["worst_ms"] = worst_ms;
  mixer.Stop();
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_TypeOneDefault);
BENCHMARK(BM_TypeThreeVariants);
BENCHMARK(BM_TypeTwoReadsFiles);
BENCHMARK(BM_FirstSampleThroughCaptureSink)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

}  // namespace
}  // namespace chimewell
