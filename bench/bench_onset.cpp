// Where announcements land. Scheduled ones are prepared and handed to the message worker
// half a second ahead, as the tick does, and their first audible sample is found in the WAV
// capture; the capture's own timeline says when that frame was heard. Figures: the error
// against the due moment for spoken and voice-set time signals, and for ad-hoc speech the time
// from the call to its first audible sample, with the engine's own share beside it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/log.h"
#include "platform/audio_test_support.h"
#include "platform/file_system.h"
#include "platform/lead_in.h"
#include "platform/linux/child_process.h"
#include "platform/linux/fluidsynth_midi.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer.h"
#include "platform/mixer_sound_player.h"
#include "platform/slow_engine.h"
#include "platform/system_clock.h"
#include "platform/timeline_sink.h"
#include "platform/ui_thread.h"
#include "platform/wave_file.h"
#include "playback/playback.h"
#include "sound_stack.h"
#include "timesignal/time_signal.h"

namespace chimewell {
namespace {

constexpr int64_t kHandOverLeadMs = 500;
constexpr int64_t kPrepareLeadMs = 1500;  // shorter than the program's, to keep the run short

int64_t WallMs() { return Mixer::SystemWallNow().UnixMs(); }

void SleepUntilWall(int64_t ms) {
  const int64_t left = ms - WallMs();
  if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
}

std::string TimeText(int i) {
  return std::to_string(i % 12 + 1) + "時" + std::to_string(i) + "分です";
}

// A spoken announcement: prepared, handed over, placed on its moment.
void BM_SpokenAnnouncementOnset(benchmark::State& state) {
  Stack stack;
  if (!SpeechReady(stack, state)) return;
  std::vector<Event> events;
  int i = 0;
  for (auto _ : state) {
    const std::string text = TimeText(i++);
    const int64_t due = WallMs() + kPrepareLeadMs;
    stack.speech->Prepare(text);
    SleepUntilWall(due - kHandOverLeadMs);
    events.push_back({stack.timeline->Written(), due * 1000});
    stack.playback->SetMessageCount(text, 100, 1, WallMoment::FromUnixMs(due));
    stack.WaitIdle();
  }
  Report(state, stack.Errors(events));
}
BENCHMARK(BM_SpokenAnnouncementOnset)->Iterations(20)->Unit(benchmark::kMillisecond);

// The same on a loaded machine: every synthesis takes 2.6 s longer. Announcements come every
// 4 s, prepared 3 s ahead as the program does, so each is prepared while the one before it
// still sounds.
void BM_SpokenAnnouncementOnsetSlowEngine(benchmark::State& state) {
  const std::string engine = testing::WriteSlowEngine("onset-slow-engine", 2.6);
  {
    Stack stack(OpenJTalkSetup{engine, "", ""});
    if (!SpeechReady(stack, state)) return;
    constexpr int64_t kProgramPrepareLeadMs = 3000;
    std::vector<Event> events;
    int i = 0;
    int64_t due = WallMs() + kProgramPrepareLeadMs + 500;
    for (auto _ : state) {
      const std::string text = TimeText(i++);
      SleepUntilWall(due - kProgramPrepareLeadMs);
      stack.speech->Prepare(text);
      SleepUntilWall(due - kHandOverLeadMs);
      events.push_back({stack.timeline->Written(), due * 1000});
      stack.playback->SetMessageCount(text, 100, 1, WallMoment::FromUnixMs(due));
      due += 4000;
    }
    stack.WaitIdle();
    Report(state, stack.Errors(events));
  }
  std::remove(engine.c_str());
}
BENCHMARK(BM_SpokenAnnouncementOnsetSlowEngine)->Iterations(16)->Unit(benchmark::kMillisecond);

// Hands a composed voice-set announcement to the worker for its moment.
struct HandOver final : TimeSignalOutput {
  explicit HandOver(Playback& p) : playback(p) {}
  bool IsTimeSignalQueued() const override { return playback.IsTimeSignalQueued(); }
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int repeat,
                     std::optional<WallMoment> start_at) override {
    playback.SetTimeSignal(image, fragments, repeat, start_at);
  }
  void SetMessageCount(const std::string&, int, int, std::optional<WallMoment>) override {}
  void EnableSkip() override {}
  void AddLogLine(const std::string&) override {}
  void ShowPanelMessage(const std::string&) override {}

  Playback& playback;
};

// A recorded-voice announcement (a set made by `chimewell-tool voiceset --type 1`).
void BM_VoiceSetAnnouncementOnset(benchmark::State& state) {
  Stack stack;
  const std::string folder = std::filesystem::temp_directory_path().string() +
                             "/chimewell-onset-voices-" + std::to_string(::getpid());
  ChildProcess tool;
  if (!tool.Start({CHIMEWELL_TOOL, "voiceset", "--type", "1", "--out", folder}) || !tool.Wait()) {
    state.SkipWithError("chimewell-tool voiceset failed (is Open JTalk installed?)");
    return;
  }
  RealFileSystem files;
  HandOver output(*stack.playback);
  TimeSignal time_signal(files, output);
  JihoSettings jiho;
  jiho.Type = 1;
  jiho.Folder = folder;
  time_signal.LoadTimeSignalSettings(jiho);
  std::vector<Event> events;
  int i = 0;
  for (auto _ : state) {
    const int64_t due = WallMs() + kHandOverLeadMs + 100;
    SleepUntilWall(due - kHandOverLeadMs);
    events.push_back({stack.timeline->Written(), due * 1000});
    const TDateTime moment = *TryEncodeDateTime({2026, 12, 7, i % 24, (i * 7) % 60, 0, 0});
    ++i;
    time_signal.PlayTimeSignal("[hour][min]", 1, moment, WallMoment::FromUnixMs(due));
    stack.WaitIdle();
  }
  Report(state, stack.Errors(events));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_VoiceSetAnnouncementOnset)->Iterations(20)->Unit(benchmark::kMillisecond);

// Ad-hoc speech (a menu command): from the call to the first audible sample.
void BM_AdHocSpeechFirstAudible(benchmark::State& state) {
  Stack stack;
  if (!SpeechReady(stack, state)) return;
  std::vector<Event> events;
  int i = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    events.push_back({stack.timeline->Written(), Mixer::SystemWallNow().UnixUs()});
    stack.speech->SpeakText(TimeText(i++));
    stack.WaitIdle();
  }
  Report(state, stack.Errors(events));
}
BENCHMARK(BM_AdHocSpeechFirstAudible)->Iterations(20)->Unit(benchmark::kMillisecond);

// The floor under ad-hoc speech: a loaded Open JTalk process, as the speech control keeps one
// waiting, given the same texts; from the line written to its exit with the utterance stored.
void BM_WarmOpenJTalkSynthesis(benchmark::State& state) {
  std::string missing;
  const OpenJTalkSetup setup = FindOpenJTalk({}, &missing);
  if (!missing.empty()) {
    state.SkipWithError("Open JTalk is not installed");
    return;
  }
  const std::string wav = testing::TempPath("warm.wav");
  std::vector<double> times;
  int i = 0;
  for (auto _ : state) {
    ChildProcess process;
    int input = -1;
    if (!process.Start({setup.command, "-x", setup.dictionary, "-m", setup.voice, "-ow", wav},
                       &input)) {
      state.SkipWithError("Open JTalk did not start");
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::string line = TimeText(i++) + "\n";
    const auto start = std::chrono::steady_clock::now();
    const bool sent = ::write(input, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(input);
    process.Wait();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!sent) {
      state.SkipWithError("Open JTalk did not take the text");
      return;
    }
    times.push_back(ms);
    state.SetIterationTime(ms / 1000);
  }
  std::remove(wav.c_str());
  std::sort(times.begin(), times.end());
  Report(state, times);
}
BENCHMARK(BM_WarmOpenJTalkSynthesis)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace chimewell
