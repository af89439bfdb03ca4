#pragma once
// The one-off schedule entry a test command plays a sound or MIDI file with.
#include <string>

#include "schedule/schedule_entry.h"

namespace chimewell {

// A one-shot entry that plays `path` once at `volume`, as a due schedule entry of `kind`
// (ctWave or ctMidi) would.
TSchedule TestFileEntry(const std::string& path, TCommandType kind, int volume);

}  // namespace chimewell
