#include "core/local_time.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace chimewell {
namespace {

constexpr int64_t kMsPerDayInt = 86400000;
constexpr double kUnixEpochDay = 25569.0;  // 1970-01-01 in days since 1899-12-30

// `local` read as if it were UTC, in milliseconds since 1970.
int64_t AsIfUtc(TDateTime local) { return std::llround((local - kUnixEpochDay) * kMsPerDay); }

int64_t ShownMs(int64_t unix_ms) { return unix_ms + UtcOffsetMs(unix_ms); }

// The first moment in [lo, hi] for which `reached` holds; `reached(hi)` must hold and
// `reached` must not turn false again within the range.
template <typename Predicate>
int64_t FirstReached(int64_t lo, int64_t hi, Predicate reached) {
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (reached(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return hi;
}

}  // namespace

TDateTime LocalOf(int64_t unix_ms) { return FromUnixMilliseconds(unix_ms); }

int64_t UtcOffsetMs(int64_t unix_ms) {
  const std::time_t secs = static_cast<std::time_t>(
      unix_ms >= 0 ? unix_ms / 1000 : -((-unix_ms + 999) / 1000));
  std::tm tm{};
  localtime_r(&secs, &tm);
  return static_cast<int64_t>(tm.tm_gmtoff) * 1000;
}

int64_t WallOfLocal(TDateTime local, int64_t not_before) {
  const int64_t shown = AsIfUtc(local);
  // Offsets change at most once within a day or so, so the offsets a day either side are the
  // only candidates.
  const int64_t before = shown - UtcOffsetMs(shown - kMsPerDayInt);
  const int64_t after = shown - UtcOffsetMs(shown + kMsPerDayInt);
  const int64_t first = std::min(before, after);
  const int64_t second = std::max(before, after);
  const bool first_shows = ShownMs(first) == shown;
  const bool second_shows = second != first && ShownMs(second) == shown;
  if (first_shows && second_shows) return first >= not_before || second < not_before ? first : second;
  if (first_shows) return first;
  if (second_shows) return second;
  // Skipped: the moment the shown time first reaches or passes it.
  return FirstReached(first, second, [shown](int64_t t) { return ShownMs(t) >= shown; });
}

std::optional<int64_t> NextOffsetChange(int64_t from, int64_t to) {
  const int64_t offset = UtcOffsetMs(from);
  if (to <= from || UtcOffsetMs(to) == offset) return std::nullopt;
  return FirstReached(from + 1, to, [offset](int64_t t) { return UtcOffsetMs(t) != offset; });
}

}  // namespace chimewell
