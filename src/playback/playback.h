#pragma once
// Owns the two playback workers: creates each on demand, queues into it, forgets it when it
// ends, and carries the playback side of the menu commands Clear All, Pause, Skip and Mute.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/datetime.h"
#include "core/log.h"
#include "platform/midi_library.h"
#include "platform/sound_player.h"
#include "platform/speech_control.h"
#include "platform/ui_thread.h"
#include "playback/message_thread.h"
#include "playback/midi_thread.h"
#include "playback/time_signal_sequence.h"
#include "playback/ui_hand_off.h"

namespace chimewell {

// The application state the workers read, through small callbacks run on the UI thread.
struct PlaybackSettings {
  std::function<bool()> mute_checked;  // the Mute menu check mark
  std::function<int()> back_volume;    // the BackVolume setting, 0..100
  // Called on the UI thread when the Skip menu entry should be enabled (true) or disabled.
  std::function<void(bool)> skip_enabled;
  // Called on the UI thread with a fault that ended a worker.
  FaultReport report_fault;
  // The LateLimit setting, seconds: an announcement that would start later than that after
  // its moment is dropped.
  std::function<int()> late_limit;
};

class Playback {
 public:
  Playback(Clock& clock, UiThread& ui, SoundPlayer& sound, SpeechControl& speech, MidiLibrary& midi,
           Log& log, PlaybackSettings settings);
  // Shut-down (after the application's Clear All): ends every worker, forgotten ones still
  // finishing included, and waits for their threads. Hand-offs to the UI thread are called off
  // first, so this never waits on a worker that waits on the UI thread.
  ~Playback();
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // ---- message worker: queue, creating the worker when there is none ----
  // `start_at_ms`: a scheduled announcement's wall-clock moment (ms since 1970); its first
  // sound is placed on it when the worker gets to it in time, else it starts when it can.
  void SetMessageCount(const std::string& text, int32_t volume, int32_t count,
                       std::optional<int64_t> start_at_ms = std::nullopt);
  void SetMessageUntil(const std::string& text, int32_t volume, TDateTime end_time,
                       std::optional<int64_t> start_at_ms = std::nullopt);
  // WAVE files: an existing worker is held while the file is queued.
  void SetWaveCount(const std::string& file_name, int32_t count);
  void SetWaveUntil(const std::string& file_name, TDateTime end_time);
  // Queues a time signal (enables Skip). `fragments` are offsets into `voice_image`; a
  // negative offset plays the built-in sound. Ignored while one is queued or playing.
  void SetTimeSignal(const VoiceImagePtr& voice_image, const std::vector<int32_t>& fragments,
                     int32_t repeat, std::optional<int64_t> start_at_ms = std::nullopt);
  // True while a message worker exists and holds a time signal.
  bool IsTimeSignalQueued() const;

  // ---- MIDI worker ----
  void SetMidiRepeat(const std::string& file_name, int32_t volume, int32_t count);
  void SetMidiUntil(const std::string& file_name, int32_t volume, TDateTime end_time);

  // ---- menu commands (UI thread) ----
  // Each of these four also drops the speech prepared ahead: it no longer applies.
  // Stops speech, ends both workers and forgets them at once; the next item starts afresh.
  void ClearAll();
  // On: skips what plays, holds both workers, stops speech, disables Skip. Off: resumes.
  // Workers created while paused start held.
  void Pause(bool on);
  // Cuts what sounds now: the current sound or speech, and the current play of the music.
  void Skip();
  // Passes the Mute check mark to both workers.
  void SetMute(bool on);

  bool HasMessageThread() const;
  bool HasMidiThread() const;
  // Worker threads still running, forgotten ones included (tests wait on this).
  int RunningWorkerCount() const;

 private:
  // Create a worker (not started) and make it the current one; mutex_ held.
  std::shared_ptr<TMessageThread> NewMessageThreadLocked();
  std::shared_ptr<TMidiThread> NewMidiThreadLocked();
  // Queues through `queue` into the current message worker, or a fresh one when there is none
  // or the current one has just ended. `hold` keeps an existing worker suspended meanwhile.
  void QueueMessage(const std::function<bool(TMessageThread&)>& queue, bool hold);
  void QueueMidi(const std::function<bool(TMidiThread&)>& queue);
  void ForgetMessageThread(const std::shared_ptr<TMessageThread>& worker);
  void ForgetMidiThread(const std::shared_ptr<TMidiThread>& worker);
  // End notifications: `serial` tells the worker that ended from a newer one.
  void OnMessageThreadEnded(uint64_t serial);
  void OnMidiThreadEnded(uint64_t serial);
  void SetMusicOverride(int volume);
  void SetSkipEnabled(bool enabled);
  // Joins workers whose threads have finished (never the calling thread).
  void ReapFinished();

  Clock& clock_;
  SoundPlayer& sound_;
  SpeechControl& speech_;
  MidiLibrary& midi_;
  Log& log_;
  PlaybackSettings settings_;
  UiHandOff hand_off_;

  mutable std::mutex mutex_;
  std::shared_ptr<TMessageThread> message_thread_;  // guarded by mutex_
  std::shared_ptr<TMidiThread> midi_thread_;        // guarded by mutex_
  uint64_t message_serial_ = 0;                     // guarded by mutex_
  uint64_t midi_serial_ = 0;                        // guarded by mutex_
  uint64_t next_serial_ = 1;                        // guarded by mutex_
  bool paused_ = false;                             // guarded by mutex_
  // Every worker whose thread has not been joined yet, current or forgotten.
  std::vector<std::shared_ptr<WorkerThread>> workers_;  // guarded by mutex_
};

}  // namespace chimewell
