#pragma once
// The sound player: synchronous WAVE playback in the four forms the message worker uses.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/moments.h"

namespace chimewell {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Stops every sound of the program; a synchronous play on another thread returns at once.
  virtual void Purge() = 0;
  // Plays a complete RIFF WAVE image held in memory; returns when it has played or was purged.
  // A malformed image plays the built-in sound instead.
  virtual void PlayMemory(std::span<const uint8_t> wave_image) = 0;
  // As PlayMemory, with the first sample heard at the wall-clock moment `start_at`, or at once
  // when that has passed, but not after `latest_start` when given. False when it was dropped
  // unheard for starting too late.
  virtual bool PlayMemoryAt(std::span<const uint8_t> wave_image, WallMoment start_at,
                            std::optional<WallMoment> latest_start) {
    (void)start_at;
    (void)latest_start;
    PlayMemory(wave_image);
    return true;
  }
  // Plays the built-in chime.
  virtual void PlayBuiltIn() = 0;
  // Plays a WAVE file; a file that cannot be played gives the built-in chime.
  virtual void PlayFile(const std::string& path) = 0;
  // As PlayFile, placed so that the moment the file marks (its cue point, else its first
  // audible sample) is heard at the wall-clock moment `mark_at`: a mark inside the file starts
  // it that much earlier. Not started after `latest_start` when given; false when it was
  // dropped unheard for that.
  virtual bool PlayFileAt(const std::string& path, WallMoment mark_at,
                          std::optional<WallMoment> latest_start) {
    (void)mark_at;
    (void)latest_start;
    PlayFile(path);
    return true;
  }
};

}  // namespace chimewell
