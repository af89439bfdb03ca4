#pragma once
// What an announcement is handed to: the message worker's queue, the Skip item, log and panel.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/moments.h"
#include "playback/voice_image.h"

namespace chimewell {

// The application connects this to its message worker and window. Every call comes from the
// thread that owns the application state.
class TimeSignalOutput {
 public:
  virtual ~TimeSignalOutput() = default;
  // True while a voice announcement waits in the message worker or plays.
  virtual bool IsTimeSignalQueued() const = 0;
  // Queues a voice announcement: the fragments, in order, each a whole file of `image` found
  // with image->FileAt(offset) (kAbsentFragment: the built-in sound), all played `repeat`
  // times. Creates and starts the worker when there is none. `start_at`: the wall-clock
  // moment (ms since 1970) its first sound is placed on; none: as soon as it can.
  virtual void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int repeat,
                             std::optional<WallMoment> start_at) = 0;
  // Queues a speech text, spoken `count` times at `volume` percent, as SetTimeSignal places it.
  virtual void SetMessageCount(const std::string& text, int volume, int count,
                               std::optional<WallMoment> start_at) = 0;
  // Something is queued that the user may want to skip.
  virtual void EnableSkip() = 0;
  virtual void AddLogLine(const std::string& text) = 0;
  virtual void ShowPanelMessage(const std::string& text) = 0;
};

}  // namespace chimewell
