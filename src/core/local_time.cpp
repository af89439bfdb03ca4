#include "core/local_time.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace chimewell {
namespace {

constexpr int64_t kMsPerDayInt = 86400000;
constexpr double kUnixEpochDay = 25569.0;  // 1970-01-01 in days since 1899-12-30

// `local` read as if it were UTC, in milliseconds since 1970.
int64_t AsIfUtc(TDateTime local) { return std::llround((local - kUnixEpochDay) * kMsPerDay); }

int64_t ShownMs(int64_t unix_ms) { return unix_ms + UtcOffsetMs(unix_ms); }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

int64_t SystemOffsetMs(int64_t unix_ms) {
  const std::time_t secs = static_cast<std::time_t>(FloorDiv(unix_ms, 1000));
  std::tm tm{};
  localtime_r(&secs, &tm);
  return static_cast<int64_t>(tm.tm_gmtoff) * 1000;
}

// Offsets change on quarter hours, at most once in one. The C library's conversion is slow
// (for moments past a zone's table it parses the zone's rule text on every call), and the clock
// asks for the offset many times a second, so each thread keeps the last few quarter hours'
// (now, and the next due moment's).
constexpr int64_t kQuarterHourMs = 15 * 60 * 1000;

struct OffsetMemo {
  struct Entry {
    int64_t quarter = std::numeric_limits<int64_t>::min();
    int64_t offset = 0;
  };
  std::string zone;      // the TZ variable they were found under
  uint64_t reloads = 0;  // ... and the zone's reloads then
  std::array<Entry, 4> entries;
  size_t next = 0;  // the entry to replace next
};

// Bumped by each reload of the zone, so that every thread's memo starts afresh.
std::atomic<uint64_t> g_zone_reloads{0};

// The zone file TZ names by its path, if it does (":" first is allowed).
std::optional<std::string> ZoneFilePath(const char* tz) {
  if (tz == nullptr) return std::nullopt;
  std::string_view zone = tz;
  if (zone.starts_with(':')) zone.remove_prefix(1);
  if (!zone.starts_with('/')) return std::nullopt;
  return std::string(zone);
}

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

TDateTime LocalOf(int64_t unix_ms) {
  const int64_t shown = ShownMs(unix_ms);
  const int64_t days = FloorDiv(shown, kMsPerDayInt);
  return (static_cast<double>(days) + kUnixEpochDay) +
         static_cast<double>(shown - days * kMsPerDayInt) / kMsPerDay;
}

int64_t UtcOffsetMs(int64_t unix_ms) {
  thread_local OffsetMemo memo;
  const char* tz = std::getenv("TZ");
  const std::string_view zone = tz != nullptr ? tz : "";
  const uint64_t reloads = g_zone_reloads.load(std::memory_order_acquire);
  if (zone != memo.zone || reloads != memo.reloads) memo = {std::string(zone), reloads, {}, 0};
  const int64_t quarter = FloorDiv(unix_ms, kQuarterHourMs);
  for (const auto& entry : memo.entries) {
    if (entry.quarter == quarter) return entry.offset;
  }
  const int64_t start = quarter * kQuarterHourMs;
  const int64_t offset = SystemOffsetMs(start);
  // A quarter hour in which the offset changes (off the quarter) is not kept.
  if (SystemOffsetMs(start + kQuarterHourMs - 1) != offset) return SystemOffsetMs(unix_ms);
  memo.entries[memo.next] = {quarter, offset};
  memo.next = (memo.next + 1) % memo.entries.size();
  return offset;
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
  if (first_shows && second_shows)
    return first >= not_before || second < not_before ? first : second;
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

void ReloadLocalZone() {
  // tzset() reads the system's zone file again when it was replaced, but a zone file named in
  // TZ only when TZ's text changed: the file is named by another path to it first. Both
  // spellings name the new file, so other threads see the old zone or the new, never another.
  static std::mutex mutex;
  const std::lock_guard lock(mutex);
  if (const auto path = ZoneFilePath(std::getenv("TZ"))) {
    setenv("TZ", ("/." + *path).c_str(), 1);
    tzset();
    setenv("TZ", path->c_str(), 1);
  }
  tzset();
  g_zone_reloads.fetch_add(1, std::memory_order_release);
}

}  // namespace chimewell
