// Cost of composing a time signal: from PlayTimeSignal to the fragments handed to the worker.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"
#include "timesignal/time_signal.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

// Each voice file about as big as a recorded word (0.5 s of 16-bit mono at 22050 Hz).
constexpr size_t kWordBytes = 22050;

struct NullOutput final : TimeSignalOutput {
  bool IsTimeSignalQueued() const override { return false; }
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int) override {
    benchmark::DoNotOptimize(image);
    benchmark::DoNotOptimize(fragments);
  }
  void SetMessageCount(const std::string&, int, int) override {}
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
  const std::string bytes(kWordBytes, '\x11');
  for (const std::string& name : names) std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
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

BENCHMARK(BM_TypeOneDefault);
BENCHMARK(BM_TypeThreeVariants);
BENCHMARK(BM_TypeTwoReadsFiles);

}  // namespace
}  // namespace chimewell
