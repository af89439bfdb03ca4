#pragma once
// A speech control for tests: an utterance sounds for a set time of the fake clock; every
// utterance is recorded with the volume it started at.
#include <cstdint>
#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/speech_control.h"
#include "support/fake_clock.h"

namespace chimewell::testing {

struct Utterance {
  std::string text;
  int64_t start_ms = 0;
  uint32_t volume_left = 0;
  uint32_t volume_right = 0;
  std::optional<int64_t> placed_at_ms;  // SpeakTextAt's moment
};

class FakeSpeech final : public SpeechControl {
 public:
  explicit FakeSpeech(FakeClock& clock) : clock_(clock) {}

  void SetDuration(const std::string& text, int64_t ms) {
    const std::lock_guard lock(mutex_);
    durations_[text] = ms;
  }
  // SpeakText of this text fails like a broken control.
  void FailOn(const std::string& text) {
    const std::lock_guard lock(mutex_);
    fail_text_ = text;
  }

  void SpeakText(const std::string& text) override { Speak(text, std::nullopt); }
  void SpeakTextAt(const std::string& text, WallMoment start_at,
                   std::optional<WallMoment> latest_start) override {
    {
      const std::lock_guard lock(mutex_);
      const WallMoment first_sound =
          std::max(clock_.WallNow(), start_at) + std::chrono::milliseconds(sleep_before_start_ms_);
      if (latest_start && first_sound > *latest_start) {
        ++passed_over_;
        return;
      }
    }
    Speak(text, start_at.UnixMs());
  }
  uint64_t PassedOverCount() const override {
    const std::lock_guard lock(mutex_);
    return passed_over_;
  }
  // The machine sleeps this long between a placed text's hand-over and its first word.
  void SleepBeforeStart(int64_t ms) {
    const std::lock_guard lock(mutex_);
    sleep_before_start_ms_ = ms;
  }
  // What Unavailable answers: why nothing can be spoken.
  void SetUnavailable(std::string why) {
    const std::lock_guard lock(mutex_);
    unavailable_ = std::move(why);
  }
  std::string Unavailable() const override {
    const std::lock_guard lock(mutex_);
    return unavailable_;
  }
  void Prepare(const std::string& text) override {
    const std::lock_guard lock(mutex_);
    prepared_.push_back({text, clock_.NowMs()});
  }
  void DiscardPrepared() override {
    const std::lock_guard lock(mutex_);
    ++discards_;
  }
  void StopSpeech() override {
    const std::lock_guard lock(mutex_);
    ++stops_;
    speaking_until_ = 0;
  }
  int16_t Speaking() const override {
    const std::lock_guard lock(mutex_);
    return clock_.NowMs() < speaking_until_ ? 1 : 0;
  }
  void SetVolumeLeft(uint32_t volume) override {
    const std::lock_guard lock(mutex_);
    left_ = volume;
  }
  void SetVolumeRight(uint32_t volume) override {
    const std::lock_guard lock(mutex_);
    right_ = volume;
  }

  std::vector<Utterance> Utterances() const {
    const std::lock_guard lock(mutex_);
    return utterances_;
  }
  uint32_t VolumeLeft() const {
    const std::lock_guard lock(mutex_);
    return left_;
  }
  uint32_t VolumeRight() const {
    const std::lock_guard lock(mutex_);
    return right_;
  }
  int Stops() const {
    const std::lock_guard lock(mutex_);
    return stops_;
  }
  struct Preparation {
    std::string text;
    int64_t at_ms = 0;
  };
  std::vector<Preparation> Prepared() const {
    const std::lock_guard lock(mutex_);
    return prepared_;
  }
  int Discards() const {
    const std::lock_guard lock(mutex_);
    return discards_;
  }

 private:
  void Speak(const std::string& text, std::optional<int64_t> placed_at_ms) {
    const std::lock_guard lock(mutex_);
    if (text == fail_text_) throw std::runtime_error("speech control failed");
    const auto found = durations_.find(text);
    speaking_until_ = clock_.NowMs() + (found != durations_.end() ? found->second : 1500);
    utterances_.push_back({text, clock_.NowMs(), left_, right_, placed_at_ms});
  }

  FakeClock& clock_;
  mutable std::mutex mutex_;
  std::map<std::string, int64_t> durations_;
  std::string fail_text_ = "\x01";
  std::vector<Utterance> utterances_;
  int64_t speaking_until_ = 0;
  uint32_t left_ = 0;
  uint32_t right_ = 0;
  int stops_ = 0;
  std::vector<Preparation> prepared_;
  int discards_ = 0;
  std::string unavailable_;
  int64_t sleep_before_start_ms_ = 0;
  uint64_t passed_over_ = 0;
};

}  // namespace chimewell::testing
