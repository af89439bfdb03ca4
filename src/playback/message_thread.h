#pragma once
// The message worker: plays queued time signals, speech texts and WAVE files one at a time,
// in a fixed precedence, and lowers the background music while it speaks.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/log.h"
#include "core/moments.h"
#include "platform/sound_player.h"
#include "platform/speech_control.h"
#include "playback/sound_rec.h"
#include "playback/time_signal_sequence.h"
#include "playback/worker_thread.h"

namespace chimewell {

// What the message worker reaches outside itself. The callbacks run on the UI thread.
struct MessageThreadHost {
  SoundPlayer& sound;
  SpeechControl& speech;
  Log& log;
  std::function<bool()> mute_checked;           // the Mute menu check mark
  std::function<int()> back_volume;             // the BackVolume setting
  std::function<void(int)> set_music_override;  // the MIDI worker's SetVolumeOverride, if any
  std::function<int()> late_limit;              // the LateLimit setting, seconds
  // The worker is done with a message that had a ticket: spoken to its end, passed over or
  // skipped. Called before the worker chooses what comes next.
  std::function<void(uint64_t)> message_finished;
};

class TMessageThread final : public WorkerThread {
 public:
  // Limits beyond which a whole queue is dropped at the next cycle.
  static constexpr size_t kMaxRecords = 30;
  static constexpr size_t kMaxTimeSignalSteps = 60;

  TMessageThread(Clock& clock, UiHandOff hand_off, MessageThreadHost host);
  ~TMessageThread() override;

  // Queue operations, callable from any thread. Each returns false, and takes and logs
  // nothing, once the worker has ended: the caller then queues into a fresh worker, so an item
  // queued just as the worker runs out of work is never lost.
  // `mark_at` (wall clock): where the mark of a scheduled sound file's first play is placed.
  [[nodiscard]] bool SetWaveUntil(const std::string& file_name, TDateTime end_time,
                                  std::optional<WallMoment> mark_at = std::nullopt);
  [[nodiscard]] bool SetWaveCount(const std::string& file_name, int32_t count,
                                  std::optional<WallMoment> mark_at = std::nullopt);
  // `start_at` (wall clock): where the first sound of a scheduled
  // announcement is placed, when the worker gets to it by then.
  [[nodiscard]] bool SetMessageUntil(const std::string& text, int32_t volume, TDateTime end_time,
                                     std::optional<WallMoment> start_at = std::nullopt);
  [[nodiscard]] bool SetMessageCount(const std::string& text, int32_t volume, int32_t count,
                                     std::optional<WallMoment> start_at = std::nullopt,
                                     uint64_t ticket = 0);
  // Queues a time signal unless one is queued or playing (then nothing changes). Stops every
  // sound first in either case.
  [[nodiscard]] bool SetTimeSignal(const VoiceImagePtr& image,
                                   const std::vector<int32_t>& fragments, int32_t repeat,
                                   std::optional<WallMoment> start_at = std::nullopt);
  bool IsTimeSignalQueued() const;

  // UI-thread operations.
  void SkipCurrent();
  void StopSpeech();
  void SetMute(bool on);

 protected:
  void Execute() override;
  void OnTerminate() override;

 private:
  enum class Outcome { kWorked, kIdle };

  static constexpr int64_t kSpeechPollMs = 1000;
  static constexpr int64_t kMutedPollMs = 2000;

  // The speech control's speaking state is read as its low byte.
  static int8_t LowByte(int16_t value);

  // An announcement due at `start_at` would now start more than LateLimit late; lock held.
  bool TooLateLocked(std::optional<WallMoment> start_at) const;
  // The latest an announcement due at `start_at` may start; lock held.
  std::optional<WallMoment> LatestStartLocked(WallMoment start_at) const;
  // Tells the host the ticketed message last taken is over.
  void ReportFinished();
  // Logs the placed utterance that the speech control dropped for starting too late.
  void LogSpeechPassedOver();
  // Logs a dropped announcement; `text` empty for a time signal.
  void LogPassedOver(WallMoment start_at, const std::string& text);
  bool HasWork() const;  // lock held
  // A placed sound file is due before every placed announcement that waits; lock held.
  bool PlacedSoundFirstLocked() const;
  Outcome RunCycle();
  void PurgeQueues();
  void PlayTimeSignal();
  bool SpeakNextEntry();
  bool PlayNextWave();

  // Steps handed to the UI thread.
  void PollState();
  void SpeakCurrent();
  void DuckMusic();
  void RestoreMusic();
  void StopSpeechOnUi();
  void ApplySpeechVolume();

  MessageThreadHost host_;

  // Guarded by the worker lock.
  std::vector<TimeSignalStep> time_signal_;
  std::optional<WallMoment> time_signal_start_at_;  // for its first fragment
  std::vector<TSoundRec> wave_list_;
  std::vector<TMessageRec> message_list_;
  bool skip_ = false;
  bool mute_ = false;
  std::string text_;
  int32_t volume_ = 0;
  std::optional<WallMoment> start_at_;  // where the text now spoken is to begin
  TDateTime deadline_ = 0;
  int8_t speaking_ = 0;
  int8_t speaking_at_start_ = 0;
  // As last read on the UI thread; none: no limit.
  std::optional<std::chrono::seconds> late_limit_;
  uint64_t passed_over_ = 0;           // the speech control's count, as last read
  uint64_t passed_over_at_start_ = 0;  // ... when the placed utterance was handed to it
  bool placed_speech_ = false;         // the last utterance was placed on start_at_
  uint64_t current_ticket_ = 0;        // the ticketed message taken last, until reported
};

}  // namespace chimewell
