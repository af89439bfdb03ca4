#pragma once
// The whole playback stack on a WAV capture sink, and measures of what the capture holds.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "core/log.h"
#include "platform/capture_fixture.h"
#include "platform/linux/fluidsynth_midi.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer_sound_player.h"
#include "platform/system_clock.h"
#include "platform/ui_thread.h"
#include "playback/playback.h"

namespace chimewell::testing {

class ListeningTest : public CaptureTest {
 protected:
  static constexpr off_t kWaveHeaderBytes = 44;

  void SetUp() override {
    CaptureTest::SetUp();
    sound_ = std::make_unique<MixerSoundPlayer>(*mixer_);
    // What the speech control reports is kept, so that a test that hears no speech says why.
    speech_ = std::make_unique<OpenJTalkSpeech>(*mixer_, [this](const std::string& report) {
      const std::lock_guard lock(reports_mutex_);
      speech_reports_ += report + "\n";
    });
    midi_ = std::make_unique<FluidSynthMidi>(*mixer_);
    playback_ = std::make_unique<Playback>(
        clock_, ui_, *sound_, *speech_, *midi_, log_,
        PlaybackSettings{[this] { return mute_checked_.load(); },
                         [this] { return back_volume_.load(); }, [](bool) {},
                         [](const std::string& fault) { ADD_FAILURE() << fault; }, nullptr,
                         nullptr});
  }
  void TearDown() override {
    ReleaseStack();
    CaptureTest::TearDown();
  }
  void ReleaseStack() {
    if (playback_) playback_->ClearAll();
    playback_.reset();
    midi_.reset();
    speech_.reset();
    sound_.reset();
  }
  bool SpeechMissing() const { return !speech_->Available(); }
  std::string SpeechReports() {
    const std::lock_guard lock(reports_mutex_);
    return speech_reports_;
  }

  // Waits (generously, in real time) until every worker has ended and speech is silent.
  bool WaitIdle(std::chrono::seconds limit = std::chrono::seconds(30)) {
    return WaitUntil(
        limit, [this] { return playback_->RunningWorkerCount() == 0 && !speech_->Speaking(); });
  }
  // Waits until the capture written so far holds `seconds` of sound.
  bool WaitHeard(double seconds, std::chrono::seconds limit = std::chrono::seconds(20)) {
    return WaitUntil(limit, [this, seconds] {
      const auto partial = LoadWaveFile(path_);
      return partial && Listen(*partial, 0.02).loud_frames >= seconds * kMixRate;
    });
  }
  // Frames captured so far, to the block: the file's length, not its header, which the sink
  // brings up to date only every few blocks.
  size_t CapturedFrames() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0 || st.st_size < kWaveHeaderBytes) return 0;
    return static_cast<size_t>(st.st_size - kWaveHeaderBytes) / (kMixChannels * sizeof(int16_t));
  }
  // Waits until the capture reaches `frames`: a span of the capture's own time, which a loaded
  // machine stretches in wall time but never shortens.
  bool WaitCaptured(size_t frames, std::chrono::seconds limit = std::chrono::seconds(30)) {
    return WaitUntil(limit, [this, frames] { return CapturedFrames() >= frames; });
  }
  // Ends the stack (so nothing plays any more) and returns the whole capture.
  PcmClip Heard() {
    ReleaseStack();
    return Captured();
  }

  SystemClock clock_;
  Log log_{clock_};
  InlineUiThread ui_;
  std::atomic<bool> mute_checked_{false};
  std::atomic<int> back_volume_{40};
  std::unique_ptr<MixerSoundPlayer> sound_;
  std::unique_ptr<OpenJTalkSpeech> speech_;
  std::unique_ptr<FluidSynthMidi> midi_;
  std::unique_ptr<Playback> playback_;
  std::mutex reports_mutex_;
  std::string speech_reports_;
};

// ---- measures over short windows of a capture ----

inline constexpr int kWindowMs = 20;
inline constexpr size_t kWindowFrames = kMixRate * kWindowMs / 1000;

inline double WindowSeconds(size_t windows) {
  return static_cast<double>(windows) * kWindowMs / 1000;
}

// One value per window of `clip`, from the window's samples (mono, full scale 1.0).
inline std::vector<double> PerWindow(const PcmClip& clip, size_t window_frames,
                                     const std::function<double(const std::vector<double>&)>& f) {
  std::vector<double> values;
  std::vector<double> mono(window_frames);
  for (size_t start = 0; start + window_frames <= clip.Frames(); start += window_frames) {
    for (size_t i = 0; i < window_frames; ++i) {
      double sum = 0;
      for (int c = 0; c < clip.channels; ++c) sum += clip.samples[(start + i) * clip.channels + c];
      mono[i] = sum / clip.channels / 32768.0;
    }
    values.push_back(f(mono));
  }
  return values;
}

inline std::vector<double> RmsLevels(const PcmClip& clip, size_t window_frames = kWindowFrames) {
  return PerWindow(clip, window_frames, [](const std::vector<double>& x) {
    double sum = 0;
    for (double v : x) sum += v * v;
    return std::sqrt(sum / static_cast<double>(x.size()));
  });
}

// The amplitude of the `freq` component in each window (Goertzel): 0.5 for a sine at half scale.
inline std::vector<double> ToneLevels(const PcmClip& clip, double freq,
                                      size_t window_frames = kWindowFrames) {
  return PerWindow(clip, window_frames, [freq](const std::vector<double>& x) {
    const double w = 2 * std::numbers::pi * freq / kMixRate;
    double re = 0, im = 0;
    for (size_t n = 0; n < x.size(); ++n) {
      re += x[n] * std::cos(w * static_cast<double>(n));
      im -= x[n] * std::sin(w * static_cast<double>(n));
    }
    return 2 * std::hypot(re, im) / static_cast<double>(x.size());
  });
}

// A stretch of windows [first, last] that passed a threshold.
struct Span {
  size_t first = 0, last = 0;
  size_t Windows() const { return last - first + 1; }
};

// The stretches where `levels` pass `threshold`; stretches apart by less than `bridge` windows
// count as one.
inline std::vector<Span> Spans(const std::vector<double>& levels, double threshold,
                               size_t bridge = 5) {
  std::vector<Span> spans;
  for (size_t i = 0; i < levels.size(); ++i) {
    if (levels[i] <= threshold) continue;
    if (!spans.empty() && i - spans.back().last <= bridge) {
      spans.back().last = i;
    } else {
      spans.push_back({i, i});
    }
  }
  return spans;
}

// The median of levels[first, last); 0 for an empty range.
inline double Median(const std::vector<double>& levels, size_t first, size_t last) {
  last = std::min(last, levels.size());
  if (first >= last) return 0;
  std::vector<double> part(levels.begin() + static_cast<ptrdiff_t>(first),
                           levels.begin() + static_cast<ptrdiff_t>(last));
  std::nth_element(part.begin(), part.begin() + static_cast<ptrdiff_t>(part.size() / 2),
                   part.end());
  return part[part.size() / 2];
}

}  // namespace chimewell::testing
