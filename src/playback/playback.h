#pragma once
// Owns the two playback workers: creates each on demand, queues into it, forgets it when it
// ends, and carries the playback side of the menu commands Clear All, Pause, Skip and Mute.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/datetime.h"
#include "core/log.h"
#include "core/moments.h"
#include "platform/midi_library.h"
#include "platform/sound_player.h"
#include "platform/speech_control.h"
#include "platform/ui_thread.h"
#include "playback/message_thread.h"
#include "playback/midi_thread.h"
#include "playback/time_signal_sequence.h"
#include "playback/ui_hand_off.h"
#include "playback/worker_roster.h"
#include "playback/worker_slot.h"

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
  // Called on the UI thread when the message worker is done with a message queued with a
  // ticket (spoken, passed over or skipped), before it chooses the next.
  std::function<void(uint64_t)> message_finished;
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
  // `start_at`: a scheduled announcement's wall-clock moment; its first
  // sound is placed on it when the worker gets to it in time, else it starts when it can.
  void SetMessageCount(const std::string& text, int32_t volume, int32_t count,
                       std::optional<WallMoment> start_at = std::nullopt);
  void SetMessageUntil(const std::string& text, int32_t volume, TDateTime end_time,
                       std::optional<WallMoment> start_at = std::nullopt);
  // A message from another system, spoken once; `ticket` (not 0) comes back through
  // message_finished when the worker is done with it.
  void SetTicketedMessage(const std::string& text, int32_t volume,
                          std::optional<WallMoment> start_at, uint64_t ticket);
  // WAVE files: an existing worker is held while the file is queued.
  void SetWaveCount(const std::string& file_name, int32_t count,
                    std::optional<WallMoment> mark_at = std::nullopt);
  void SetWaveUntil(const std::string& file_name, TDateTime end_time,
                    std::optional<WallMoment> mark_at = std::nullopt);
  // Queues a time signal (enables Skip). `fragments` are offsets into `voice_image`; a
  // negative offset plays the built-in sound. Ignored while one is queued or playing.
  void SetTimeSignal(const VoiceImagePtr& voice_image, const std::vector<int32_t>& fragments,
                     int32_t repeat, std::optional<WallMoment> start_at = std::nullopt);
  // True while a message worker exists and holds a time signal.
  bool IsTimeSignalQueued() const;

  // ---- MIDI worker ----
  void SetMidiRepeat(const std::string& file_name, int32_t volume, int32_t count);
  void SetMidiUntil(const std::string& file_name, int32_t volume, TDateTime end_time);

  // ---- menu commands (UI thread) ----
  // Each of these four also drops the speech prepared ahead: it no longer applies.
  // Stops speech, ends both workers and forgets them at once; the next item starts afresh.
  void ClearAll();
  // Ends the music worker and forgets it: what plays stops, what waits is dropped. Speech and
  // sounds go on.
  void EndMusic();
  // On: skips what plays, holds both workers, stops speech, disables Skip. Off: resumes.
  // Workers created while paused start held.
  void Pause(bool on);
  // On: the music that plays now rests (it stops and its worker is held, as Pause does for
  // the music alone). Off: it goes on. Music started meanwhile is not held.
  void HoldMusic(bool on);
  // Cuts what sounds now: the current sound or speech, and the current play of the music.
  void Skip();
  // Passes the Mute check mark to both workers.
  void SetMute(bool on);

  bool HasMessageThread() const;
  bool HasMidiThread() const;
  // Worker threads still running, forgotten ones included (tests wait on this).
  int RunningWorkerCount() const;

 private:
  // The current workers, either of them null, as one lock saw them.
  struct Workers {
    std::shared_ptr<TMessageThread> message;
    std::shared_ptr<TMidiThread> midi;
  };
  Workers CurrentWorkers(const WorkerRoster::Lock& held) const;
  Workers CurrentWorkers() const;

  std::shared_ptr<TMessageThread> NewMessageThread();
  std::shared_ptr<TMidiThread> NewMidiThread();
  void SetMusicOverride(int volume);
  void SetSkipEnabled(bool enabled);

  Clock& clock_;
  SoundPlayer& sound_;
  SpeechControl& speech_;
  MidiLibrary& midi_;
  Log& log_;
  PlaybackSettings settings_;
  UiHandOff hand_off_;
  WorkerRoster roster_;
  WorkerSlot<TMessageThread> message_slot_;
  WorkerSlot<TMidiThread> midi_slot_;
  std::shared_ptr<TMidiThread> music_held_;  // held by HoldMusic (UI thread)
};

}  // namespace chimewell
