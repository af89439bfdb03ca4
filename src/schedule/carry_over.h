#pragma once
// An edited schedule takes over what the entries it kept as they were had reached.
#include <vector>

#include "schedule/schedule_entry.h"

namespace chimewell {

struct CarryOver {
  bool music_line_gone = false;  // a MIDI entry of the old schedule is not in the new one
};

// Gives each entry of `after` that stands in `before` as it was (read from the same line) that
// entry's next moment, so that what was planned for it (a moment already handed over, a music
// window that plays) goes on; the other entries of `after` are left to be computed. Each entry
// of `before` passes its moment on once: two equal lines stay two entries.
CarryOver CarryOverUnchanged(const std::vector<TSchedule>& before, std::vector<TSchedule>& after);

}  // namespace chimewell
