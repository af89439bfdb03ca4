#include "app/quiet_hours.h"

#include <cmath>

#include "core/settings.h"

namespace chimewell {
namespace {

constexpr int kMinutesPerDay = 24 * 60;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int> ParseQuietTime(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 1 || colon > 2 || text.size() != colon + 3) {
    return std::nullopt;
  }
  int hour = 0;
  for (size_t i = 0; i < colon; ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    hour = hour * 10 + (text[i] - '0');
  }
  if (!IsDigit(text[colon + 1]) || !IsDigit(text[colon + 2])) return std::nullopt;
  const int minute = (text[colon + 1] - '0') * 10 + (text[colon + 2] - '0');
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * 60 + minute;
}

std::optional<QuietHours> QuietHours::Of(const ConfigSettings& config) {
  const auto from = ParseQuietTime(config.QuietFrom);
  const auto to = ParseQuietTime(config.QuietTo);
  if (!from || !to || *from == *to || (config.QuietDays & 0xFE) == 0) return std::nullopt;
  return QuietHours(*from, *to, static_cast<uint8_t>(config.QuietDays));
}

QuietHours::QuietHours(int from_minute, int to_minute, uint8_t weekdays)
    : from_minute_(from_minute), to_minute_(to_minute), weekdays_(weekdays) {}

bool QuietHours::BeginsOn(TDateTime date) const { return (weekdays_ >> DayOfWeek(date) & 1) != 0; }

std::optional<TDateTime> QuietHours::QuietUntil(TDateTime t) const {
  const TDateTime date = DateOf(t);
  // Whole minutes of the day shown: quiet from 22:00 is quiet from 22:00:00.000.
  const int minute = static_cast<int>(std::llround(TimeOf(t) * kMsPerDay) / 60000);
  const TDateTime to_time = static_cast<double>(to_minute_) / kMinutesPerDay;
  if (from_minute_ < to_minute_) {
    if (minute >= from_minute_ && minute < to_minute_ && BeginsOn(date)) return date + to_time;
    return std::nullopt;
  }
  // Across midnight: begun this evening, or the evening before.
  if (minute >= from_minute_ && BeginsOn(date)) return date + 1 + to_time;
  if (minute < to_minute_ && BeginsOn(date - 1)) return date + to_time;
  return std::nullopt;
}

}  // namespace chimewell
