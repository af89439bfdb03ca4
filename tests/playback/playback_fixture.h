#pragma once
// Shared set-up of the playback tests: a Playback on fakes, run in virtual time.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/log.h"
#include "fakes/fake_midi_library.h"
#include "fakes/fake_sound_player.h"
#include "fakes/fake_speech.h"
#include "fakes/gated_ui_thread.h"
#include "playback/playback.h"
#include "support/fake_clock.h"

namespace chimewell::testing {

class PlaybackTest : public ::testing::Test {
 protected:
  // 2025-12-09 12:00:00.
  FakeClock clock{46000.5};
  const int64_t t0 = clock.NowMs();
  Log log{clock};
  GatedUiThread ui;
  FakeSoundPlayer sound{clock};
  FakeSpeech speech{clock};
  FakeMidiLibrary midi{clock};
  std::atomic<bool> mute_checked{false};
  std::atomic<int> back_volume{40};
  std::atomic<int> late_limit{60};
  std::mutex skip_mutex;
  std::vector<bool> skip_states;
  std::vector<std::string> faults;  // guarded by skip_mutex
  Playback playback{clock,
                    ui,
                    sound,
                    speech,
                    midi,
                    log,
                    {[this] { return mute_checked.load(); }, [this] { return back_volume.load(); },
                     [this](bool on) {
                       const std::lock_guard lock(skip_mutex);
                       skip_states.push_back(on);
                     },
                     [this](const std::string& text) {
                       const std::lock_guard lock(skip_mutex);
                       faults.push_back(text);
                     },
                     [this] { return late_limit.load(); },
                     nullptr}};

  // Lets the workers run for `ms` of virtual time.
  void Run(int64_t ms) {
    ASSERT_TRUE(clock.RunFor(ms, [this] { return playback.RunningWorkerCount(); }))
        << "the workers did not settle";
  }
  // Queues several items as one batch: workers made meanwhile start held, so none of them
  // begins before the last item is in.
  template <typename F>
  void Batch(F queue) {
    playback.Pause(true);
    queue();
    playback.Pause(false);
  }
  std::vector<std::string> Faults() {
    const std::lock_guard lock(skip_mutex);
    return faults;
  }
  // Virtual milliseconds since the test began.
  int64_t Since(int64_t ms) const { return ms - t0; }
  TDateTime At(int64_t ms) const { return static_cast<double>(t0 + ms) / kMsPerDay; }
  // The log lines without their time stamps.
  std::vector<std::string> LogTexts() const {
    std::vector<std::string> texts;
    for (const auto& line : log.Lines()) texts.push_back(line.substr(13));
    return texts;
  }
  std::vector<std::string> SpokenTexts() const {
    std::vector<std::string> texts;
    for (const auto& u : speech.Utterances()) texts.push_back(u.text);
    return texts;
  }
  std::vector<int64_t> SpokenTimes() const {
    std::vector<int64_t> times;
    for (const auto& u : speech.Utterances()) times.push_back(Since(u.start_ms));
    return times;
  }
  // A voice image of labelled fragments, and their offsets.
  static VoiceImagePtr VoiceImage(const std::vector<std::string>& labels,
                                  std::vector<int32_t>* offsets) {
    auto image = std::make_shared<chimewell::VoiceImage>();
    for (const auto& label : labels) {
      const auto fragment = FakeSoundPlayer::MakeImage(label);
      offsets->push_back(
          image->Append({reinterpret_cast<const char*>(fragment.data()), fragment.size()}));
    }
    return image;
  }
};

}  // namespace chimewell::testing
