#pragma once
// Moments written as other systems write them (ISO 8601, e.g. "2026-12-07T11:00:00+09:00"),
// read and written in this machine's local time.
#include <optional>
#include <string>
#include <string_view>

#include "core/moments.h"

namespace chimewell {

// "YYYY-MM-DDThh:mm[:ss[.fff…]]" with "Z" or an offset "±hh:mm" / "±hhmm" / "±hh"; without
// one, the local time of this machine (the first such moment at or after `now`, as the clock
// would show it). A blank may stand for the "T". None for anything else, an impossible date
// or time included.
std::optional<WallMoment> ParseIsoMoment(std::string_view text, WallMoment now);

// The local time of `moment` with its offset, to the second: "2026-12-07T11:00:00+09:00".
std::string FormatIsoMoment(WallMoment moment);

}  // namespace chimewell
