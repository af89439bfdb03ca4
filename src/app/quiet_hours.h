#pragma once
// The quiet hours of the base settings: a time of day from which the clock keeps silent, the
// time it speaks again (the next day when it is earlier), and the weekdays on which such a
// quiet time begins. All of it goes by the clock as it is shown, across daylight saving too.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/datetime.h"

namespace chimewell {

struct ConfigSettings;

// Minutes of the day (0..1439) of a time written "h:mm" or "hh:mm"; none for anything else.
std::optional<int> ParseQuietTime(std::string_view text);

class QuietHours {
 public:
  // The quiet hours of `config`; none when they are off: both times empty, either of them
  // not a time, the two equal, or no weekday chosen.
  static std::optional<QuietHours> Of(const ConfigSettings& config);
  QuietHours(int from_minute, int to_minute, uint8_t weekdays);

  // When the local moment `t` lies in quiet time (from included, to not), the local moment
  // that quiet period ends; else none.
  std::optional<TDateTime> QuietUntil(TDateTime t) const;

 private:
  bool BeginsOn(TDateTime date) const;

  int from_minute_;
  int to_minute_;
  uint8_t weekdays_;  // bit n for weekday n, 1 Sunday .. 7 Saturday
};

}  // namespace chimewell
