#pragma once
// Between the wall clock (milliseconds since 1970 UTC) and the local time the clock shows,
// across daylight-saving changes: a local time may not exist (spring) or exist twice (autumn).
#include <cstdint>
#include <optional>

#include "core/datetime.h"
#include "core/moments.h"

namespace chimewell {

// The local time shown at wall-clock moment `unix_ms`.
TDateTime LocalOf(int64_t unix_ms);
// Local time minus UTC at `unix_ms`, in milliseconds.
int64_t UtcOffsetMs(int64_t unix_ms);
// The wall-clock moment at which the clock shows `local`: of two such moments the first at or
// after `not_before` (else the first); for a local time the clock skips, the moment it jumps
// past it.
int64_t WallOfLocal(TDateTime local, int64_t not_before);
// The first moment in (from, to] whose UTC offset differs from the offset at `from`.
std::optional<int64_t> NextOffsetChange(int64_t from, int64_t to);

// The same for typed moments.
inline TDateTime LocalOf(WallMoment at) { return LocalOf(at.UnixMs()); }
inline std::chrono::milliseconds UtcOffset(WallMoment at) {
  return std::chrono::milliseconds(UtcOffsetMs(at.UnixMs()));
}
inline WallMoment WallOfLocal(TDateTime local, WallMoment not_before) {
  return WallMoment::FromUnixMs(WallOfLocal(local, not_before.UnixMs()));
}
inline std::optional<WallMoment> NextOffsetChange(WallMoment from, WallMoment to) {
  const auto change = NextOffsetChange(from.UnixMs(), to.UnixMs());
  if (!change) return std::nullopt;
  return WallMoment::FromUnixMs(*change);
}

// Reads the time zone anew after its file changed (the C library reads it only once) and
// forgets every offset found before, on every thread.
void ReloadLocalZone();

}  // namespace chimewell
