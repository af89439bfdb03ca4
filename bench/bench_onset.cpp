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

// Where a marked sound file's mark was heard, against its moment, in milliseconds, sorted. The
// file starts at the first audible sample after the event's frame; its mark is found either as
// the first audible sample at least `silent_from` seconds after that (the pips' 880 Hz tone,
// after the silence that precedes it) or, with `silent_from` 0, `mark` seconds after the start.
std::vector<double> MarkErrors(Stack& stack, const std::vector<Event>& events, double mark,
                               double silent_from) {
  stack.mixer->Stop();
  const auto captured = LoadWaveFile(stack.path);
  std::vector<double> errors;
  if (!captured) return errors;
  const auto& s = captured->samples;
  const auto audible_from = [&s](size_t frame) {
    for (size_t i = frame * 2; i < s.size(); ++i) {
      if (std::abs(static_cast<int>(s[i])) >= kAudibleSample) return i / 2;
    }
    return SIZE_MAX;
  };
  for (const Event& e : events) {
    const size_t start = audible_from(e.from_frame);
    if (start == SIZE_MAX) continue;
    const size_t mark_frame =
        silent_from > 0 ? audible_from(start + static_cast<size_t>(silent_from * kMixRate))
                        : start + static_cast<size_t>(std::lround(mark * kMixRate));
    if (mark_frame == SIZE_MAX) continue;
    errors.push_back(static_cast<double>(stack.timeline->HeardAt(mark_frame) - e.due_us) / 1000.0);
  }
  std::sort(errors.begin(), errors.end());
  return errors;
}

// A built-in chime scheduled for a moment: handed over as the tick does (two seconds before the
// file must start, room to read and convert it the first time), its mark placed on the moment
// through the sink's delay.
void ChimeMarkOnset(benchmark::State& state, const char* name, double silent_from) {
  Stack stack;
  const std::string path = std::string(CHIMEWELL_CHIMES) + "/" + name + ".wav";
  const auto clip = LoadWaveFile(path);
  if (!clip || !clip->mark_seconds) {
    state.SkipWithError("the built-in chimes are not built");
    return;
  }
  constexpr int64_t kSoundLoadLeadMs = 1500;
  const auto lead_ms =
      static_cast<int64_t>(*clip->mark_seconds * 1000) + kHandOverLeadMs + kSoundLoadLeadMs;
  std::vector<Event> events;
  for (auto _ : state) {
    const int64_t due = (WallMs() + lead_ms + 1999) / 1000 * 1000;  // a whole second
    SleepUntilWall(due - lead_ms);
    events.push_back({stack.timeline->Written(), due * 1000});
    stack.playback->SetWaveCount(path, 1, WallMoment::FromUnixMs(due));
    stack.WaitIdle();
  }
  const std::vector<double> errors = MarkErrors(stack, events, *clip->mark_seconds, silent_from);
  std::fprintf(stderr, "%s marks (ms from their moment):", name);
  for (const double e : errors) std::fprintf(stderr, " %.2f", e);
  std::fprintf(stderr, "\n");
  Report(state, errors);
}

void BM_PipsToneOnset(benchmark::State& state) { ChimeMarkOnset(state, "pips", 2.5); }
BENCHMARK(BM_PipsToneOnset)->Iterations(30)->Unit(benchmark::kMillisecond);

void BM_HourStrokeOnset(benchmark::State& state) {
  ChimeMarkOnset(state, "westminster-hour-1", 0);
}
BENCHMARK(BM_HourStrokeOnset)->Iterations(10)->Unit(benchmark::kMillisecond);

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
