#pragma once
// One firing of the main tick as a recording playback keeps it, and the next one to come.
#include <cstdint>
#include <optional>
#include <string>

#include "core/datetime.h"
#include "core/moments.h"

namespace chimewell {

enum class FiringKind { kSpeak, kTime, kWave, kMidi, kCount };

struct FiringRecord {
  WallMoment at;  // when it played, or for one passed over, when it was due
  FiringKind kind = FiringKind::kSpeak;
  std::string text;     // what is said (voice files: their names), or the file played
  bool skipped = false;
  std::string reason;   // why one skipped was not played, as the log words it
};

// Takes the tick's firings in place of the playback workers: nothing plays, nothing takes time.
class FiringRecorder {
 public:
  virtual ~FiringRecorder() = default;
  virtual void Record(FiringRecord record) = 0;
};

// The entry that fires next, as the status line names it.
struct UpcomingFiring {
  WallMoment due;          // when the tick fires it (SpeakOffset before the moment it names)
  TDateTime nominal = 0;    // the local moment it names
  FiringKind kind = FiringKind::kSpeak;
  std::string text;         // speech: the text to say; time signal: its format; else the file
};

}  // namespace chimewell
