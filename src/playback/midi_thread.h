#pragma once
// The MIDI worker: plays queued MIDI files one at a time as background music, restarts or
// advances when a piece ends, stops a piece at its end time, and follows mute and ducking.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/log.h"
#include "platform/midi_library.h"
#include "playback/sound_rec.h"
#include "playback/worker_thread.h"

namespace chimewell {

class TMidiThread final : public WorkerThread {
 public:
  // A queue this long ends the worker at its next cycle.
  static constexpr size_t kMaxEntries = 30;

  TMidiThread(Clock& clock, UiHandOff hand_off, MidiLibrary& library, Log& log);
  ~TMidiThread() override;

  // Queue operations, callable from any thread; false (nothing taken or logged) once the
  // worker has ended, so the caller queues into a fresh one.
  [[nodiscard]] bool SetMidiUntil(const std::string& file_name, int32_t volume, TDateTime end_time);
  [[nodiscard]] bool SetMidiRepeat(const std::string& file_name, int32_t volume, int32_t count);

  // UI-thread operations.
  void StopMidi();
  void SetMute(bool on);
  // Replaces the entry volume while above 0 (the message worker ducks the music with it).
  void SetVolumeOverride(int32_t volume);
  void ApplyVolume();

 protected:
  void Execute() override;

 private:
  // One cycle; true when nothing plays and nothing waits, so the worker may sleep until an
  // entry is queued instead of waking every second.
  bool RunCycle();
  void StartEntry(size_t index);
  void LogOnUi(const std::string& text);
  int32_t EffectiveVolume() const;  // lock held

  // Called from the worker and the UI thread; the library keeps its own calls apart. No lock of
  // ours is held around it, so Skip, Mute and ducking never wait while a song file is read.
  MidiLibrary& library_;
  Log& log_;
  std::atomic<int32_t> handle_{0};

  // Guarded by the worker lock.
  std::vector<TSoundRec> list_;
  int32_t volume_ = 100;
  TDateTime end_time_ = 0;
  bool mute_ = false;
  int32_t volume_override_ = -1;
  std::string error_text_;
};

}  // namespace chimewell
