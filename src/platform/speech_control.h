#pragma once
// The speech synthesizer: speaks a text in the background with a readable "still speaking".
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "core/moments.h"

namespace chimewell {

class SpeechControl {
 public:
  virtual ~SpeechControl() = default;
  // Starts speaking `text` (UTF-8) and returns at once; a text already sounding is replaced.
  virtual void SpeakText(const std::string& text) = 0;
  // As SpeakText, with the first word heard at the wall-clock moment `start_at`, or as soon as
  // it can be when that has passed, but not after `latest_start` when given: speech that
  // cannot start by then is dropped unheard and counted in PassedOverCount.
  virtual void SpeakTextAt(const std::string& text, WallMoment start_at,
                           std::optional<WallMoment> latest_start) {
    (void)start_at;
    (void)latest_start;
    SpeakText(text);
  }
  // How many texts SpeakTextAt has dropped for starting too late.
  virtual uint64_t PassedOverCount() const { return 0; }
  // Synthesizes `text` in the background and keeps the sound, so that speaking it later
  // starts without the synthesis. Only the newest few texts are kept.
  virtual void Prepare(const std::string& text) { (void)text; }
  // How long a preparation has lately taken (the slowest of the last few): announcements are
  // prepared at least that much earlier. Zero until one was made.
  virtual std::chrono::milliseconds SynthesisTime() const { return std::chrono::milliseconds(0); }
  // Forgets every prepared sound (what was prepared no longer applies).
  virtual void DiscardPrepared() {}
  // Stops speech in progress and drops what is not yet spoken.
  virtual void StopSpeech() = 0;
  // Above 0 from SpeakText until the last sample has played (synthesis included); 0 otherwise.
  virtual int16_t Speaking() const = 0;
  // Why nothing can be spoken (no engine, dictionary or voice), with what to do; empty when
  // speech works.
  virtual std::string Unavailable() const { return {}; }
  // Loudness of each channel, 0..65535.
  virtual void SetVolumeLeft(uint32_t volume) = 0;
  virtual void SetVolumeRight(uint32_t volume) = 0;
  // Notifications when sound output begins and ends; called on the synthesizer's own thread.
  // They run under a lock, so once SetAudioEvents returns no old notification is running:
  // keep them short and never wait in them on the thread that sets them.
  void SetAudioEvents(std::function<void()> on_start, std::function<void()> on_stop) {
    const std::lock_guard lock(events_mutex_);
    on_audio_start_ = std::move(on_start);
    on_audio_stop_ = std::move(on_stop);
  }

 protected:
  void NotifyAudioStart() {
    const std::lock_guard lock(events_mutex_);
    if (on_audio_start_) on_audio_start_();
  }
  void NotifyAudioStop() {
    const std::lock_guard lock(events_mutex_);
    if (on_audio_stop_) on_audio_stop_();
  }

 private:
  std::mutex events_mutex_;
  std::function<void()> on_audio_start_;
  std::function<void()> on_audio_stop_;
};

}  // namespace chimewell
