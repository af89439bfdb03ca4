#pragma once
// The speech synthesizer: speaks a text in the background with a readable "still speaking".
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace chimewell {

class SpeechControl {
 public:
  virtual ~SpeechControl() = default;
  // Starts speaking `text` (UTF-8) and returns at once; a text already sounding is replaced.
  virtual void SpeakText(const std::string& text) = 0;
  // Stops speech in progress and drops what is not yet spoken.
  virtual void StopSpeech() = 0;
  // Above 0 from SpeakText until the last sample has played (synthesis included); 0 otherwise.
  virtual int16_t Speaking() const = 0;
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
