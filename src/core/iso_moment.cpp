#include "core/iso_moment.h"

#include <chrono>
#include <cstdio>

#include "core/datetime.h"
#include "core/local_time.h"

namespace chimewell {
namespace {

// Reads exactly `width` decimal digits at `pos`.
std::optional<int> Digits(std::string_view text, size_t& pos, size_t width) {
  if (text.size() - pos < width) return std::nullopt;
  int value = 0;
  for (size_t i = 0; i < width; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  pos += width;
  return value;
}

bool Take(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

// Minutes east of UTC from "Z", "±hh", "±hhmm" or "±hh:mm"; none when malformed.
std::optional<int> ReadOffset(std::string_view text, size_t& pos) {
  if (Take(text, pos, 'Z') || Take(text, pos, 'z')) return 0;
  int sign = 0;
  if (Take(text, pos, '+')) {
    sign = 1;
  } else if (Take(text, pos, '-')) {
    sign = -1;
  } else {
    return std::nullopt;
  }
  const auto hours = Digits(text, pos, 2);
  if (!hours || *hours > 23) return std::nullopt;
  int minutes = 0;
  if (pos < text.size()) {
    Take(text, pos, ':');
    const auto m = Digits(text, pos, 2);
    if (!m || *m > 59) return std::nullopt;
    minutes = *m;
  }
  return sign * (*hours * 60 + minutes);
}

}  // namespace

std::optional<WallMoment> ParseIsoMoment(std::string_view text, WallMoment now) {
  size_t pos = 0;
  DateTimeParts parts;
  const auto year = Digits(text, pos, 4);
  if (!year || !Take(text, pos, '-')) return std::nullopt;
  const auto month = Digits(text, pos, 2);
  if (!month || !Take(text, pos, '-')) return std::nullopt;
  const auto day = Digits(text, pos, 2);
  if (!day || !(Take(text, pos, 'T') || Take(text, pos, 't') || Take(text, pos, ' '))) {
    return std::nullopt;
  }
  const auto hour = Digits(text, pos, 2);
  if (!hour || !Take(text, pos, ':')) return std::nullopt;
  const auto minute = Digits(text, pos, 2);
  if (!minute) return std::nullopt;
  parts = {*year, *month, *day, *hour, *minute, 0, 0};
  if (Take(text, pos, ':')) {
    const auto second = Digits(text, pos, 2);
    if (!second) return std::nullopt;
    parts.second = *second;
    if (Take(text, pos, '.') || Take(text, pos, ',')) {
      // Fractions beyond the millisecond are dropped.
      int scale = 100;
      size_t digits = 0;
      while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        parts.millisecond += (text[pos] - '0') * scale;
        scale /= 10;
        ++pos;
        ++digits;
      }
      if (digits == 0) return std::nullopt;
    }
  }
  const auto local = TryEncodeDateTime(parts);
  if (!local || parts.hour > 23 || parts.minute > 59 || parts.second > 59) return std::nullopt;
  if (pos == text.size()) return WallOfLocal(*local, now);

  const auto offset = ReadOffset(text, pos);
  if (!offset || pos != text.size()) return std::nullopt;
  using namespace std::chrono;
  const sys_days date{year_month_day{std::chrono::year(parts.year),
                                     std::chrono::month(static_cast<unsigned>(parts.month)),
                                     std::chrono::day(static_cast<unsigned>(parts.day))}};
  const milliseconds utc = date.time_since_epoch() + hours(parts.hour) + minutes(parts.minute) +
                           seconds(parts.second) + milliseconds(parts.millisecond) -
                           minutes(*offset);
  return WallMoment::FromUnixMs(utc.count());
}

std::string FormatIsoMoment(WallMoment moment) {
  const DateTimeParts p = DecodeDateTime(LocalOf(moment));
  const auto offset_minutes =
      std::chrono::duration_cast<std::chrono::minutes>(UtcOffset(moment)).count();
  const long long magnitude = offset_minutes < 0 ? -offset_minutes : offset_minutes;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02lld:%02lld", p.year, p.month,
                p.day, p.hour, p.minute, p.second, offset_minutes < 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return text;
}

}  // namespace chimewell
