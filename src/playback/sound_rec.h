#pragma once
// The queue records of the playback workers: one sound or MIDI file, one speech text.
#include <cstdint>
#include <optional>
#include <string>

#include "core/datetime.h"
#include "core/moments.h"

namespace chimewell {

// One queued WAVE file (message worker) or MIDI file (MIDI worker).
struct TSoundRec {
  std::string FileName;
  TDateTime EndTime = 0;  // repeats until this moment; 0 for a counted entry
  int32_t Count = 0;      // plays left; 0 for an entry with an end time; may go below 0
  int32_t Volume = 0;     // 0..100, used by the MIDI worker only
  // A scheduled sound file: the wall-clock moment its mark is to be heard on its first play.
  std::optional<WallMoment> StartAt = std::nullopt;
};

// One queued speech text.
struct TMessageRec {
  std::string Text;
  TDateTime EndTime = 0;
  int32_t Count = 0;
  int32_t Volume = 0;  // speech volume 0..100
  // A scheduled announcement: the wall-clock moment its first play is to be heard. Later plays
  // follow as ever.
  std::optional<WallMoment> StartAt;
  // A message from another system: its number in the application's announcement queue,
  // told back when the worker is done with it; 0 for the schedule's and the menu's texts.
  uint64_t Ticket = 0;
};

}  // namespace chimewell
