#pragma once
// The real sound path for the benchmarks: Open JTalk and the mixer into a WAV capture whose
// timeline says when each frame was heard, and the message worker in front; first audible
// samples found in the capture and reported as figures.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/log.h"
#include "platform/audio_test_support.h"
#include "platform/lead_in.h"
#include "platform/linux/fluidsynth_midi.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer.h"
#include "platform/mixer_sound_player.h"
#include "platform/system_clock.h"
#include "platform/timeline_sink.h"
#include "platform/ui_thread.h"
#include "platform/wave_file.h"
#include "playback/playback.h"

namespace chimewell {

// One announcement: where in the capture to look from, and the moment it was due.
struct Event {
  size_t from_frame;
  int64_t due_us;
};

// The real sound path into a capture file, with the message worker in front.
struct Stack {
  explicit Stack(OpenJTalkSetup engine = {}) {
    auto timeline_sink = std::make_unique<testing::TimelineSink>(MakeWavFileSink(path));
    timeline = timeline_sink.get();
    mixer = std::make_unique<Mixer>(std::move(timeline_sink));
    mixer->Start();
    speech = std::make_unique<OpenJTalkSpeech>(
        *mixer, [](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); },
        std::move(engine));
    sound = std::make_unique<MixerSoundPlayer>(*mixer);
    midi = std::make_unique<FluidSynthMidi>(*mixer);
    playback =
        std::make_unique<Playback>(clock, ui, *sound, *speech, *midi, log, PlaybackSettings{});
  }
  ~Stack() {
    playback.reset();
    speech.reset();
    if (mixer) mixer->Stop();
    std::remove(path.c_str());
  }
  // Waits until the worker has played everything out.
  void WaitIdle() {
    while (playback->HasMessageThread() || speech->Speaking() > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // Each event's first audible sample against its moment, in milliseconds, sorted.
  std::vector<double> Errors(const std::vector<Event>& events) {
    mixer->Stop();
    const auto captured = LoadWaveFile(path);
    std::vector<double> errors;
    if (!captured) return errors;
    const auto& s = captured->samples;
    for (const Event& e : events) {
      for (size_t i = e.from_frame * 2; i < s.size(); ++i) {
        if (std::abs(static_cast<int>(s[i])) >= kAudibleSample) {
          errors.push_back(static_cast<double>(timeline->HeardAt(i / 2) - e.due_us) / 1000.0);
          break;
        }
      }
    }
    std::sort(errors.begin(), errors.end());
    return errors;
  }

  const std::string path = std::filesystem::temp_directory_path().string() + "/chimewell-onset-" +
                           std::to_string(::getpid()) + ".wav";
  SystemClock clock;
  InlineUiThread ui;
  Log log{clock};
  testing::TimelineSink* timeline = nullptr;
  std::unique_ptr<Mixer> mixer;
  std::unique_ptr<OpenJTalkSpeech> speech;
  std::unique_ptr<MixerSoundPlayer> sound;
  std::unique_ptr<FluidSynthMidi> midi;
  std::unique_ptr<Playback> playback;
};

inline void Report(benchmark::State& state, std::vector<double> errors) {
  if (errors.empty()) {
    state.SkipWithError("nothing was heard");
    return;
  }
  std::vector<double> magnitudes;
  for (double e : errors) magnitudes.push_back(std::fabs(e));
  std::sort(magnitudes.begin(), magnitudes.end());
  const auto at = [&](double q) {
    return magnitudes[std::min(magnitudes.size() - 1,
                               static_cast<size_t>(std::ceil(q * magnitudes.size())) - 1)];
  };
  state.counters["heard"] = static_cast<double>(errors.size());
  state.counters["earliest_ms"] = errors.front();
  state.counters["latest_ms"] = errors.back();
  state.counters["p50_abs_ms"] = at(0.5);
  state.counters["p95_abs_ms"] = at(0.95);
}

inline bool SpeechReady(Stack& stack, benchmark::State& state) {
  if (stack.speech->Available()) return true;
  state.SkipWithError("Open JTalk is not installed");
  return false;
}

}  // namespace chimewell
