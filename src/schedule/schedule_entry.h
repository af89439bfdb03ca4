#pragma once
// One schedule entry: what to play, in which timing mode, and when it fires next.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/datetime.h"
#include "core/moments.h"

namespace chimewell {

enum TCommandType : uint8_t { ctSpeak = 0, ctTime = 1, ctWave = 2, ctMidi = 3 };
enum TIntervalMode : uint8_t { imAt = 0, imSkip = 1, imRegular = 2, imBGM = 3 };

// Which days an entry fires on besides its weekdays: any, all but holidays, or holidays only.
enum class HolidayRule : uint8_t { kAny, kSkipHolidays, kOnlyHolidays };

// Weekday set with bit n for day n (1 Sunday .. 7 Saturday); bit 0 is never used.
inline constexpr uint8_t kEveryWeekday = 0xFE;
// 24:00, the end of the day: the largest time of day a window may end at.
inline constexpr int kEndOfDaySeconds = 86400;

struct TSchedule {
  std::string Msg;  // speech template, time-signal format, or the file to play
  TCommandType Cmd = ctSpeak;
  TIntervalMode Mode = imAt;
  int32_t RepeatCount = 1;
  int32_t Seconds = 0;  // imAt: time of day; imSkip: interval; imRegular: offset in the hour
  int32_t FromTime = 0;
  int32_t ToTime = kEndOfDaySeconds;
  uint8_t Weekdays = kEveryWeekday;
  HolidayRule Holidays = HolidayRule::kAny;  // a day must pass both this and Weekdays
  int32_t Volume = 100;
  bool ConfirmFlag = false;
  // A sound file: how far into it lies the moment it marks (its cue point), which is heard on
  // the entry's moment; the file starts that much earlier.
  int32_t MarkMs = 0;
  // The named timetable the entry belongs to: it fires only on days the calendar gives to it.
  // Empty for the main schedule, which runs every day.
  std::string Timetable;
  TDateTime NextTime = 0;  // 0: not computed yet
  // The wall-clock moment NextTime stands for: the tick fires the entry when the wall clock
  // reaches it.
  WallMoment Due;

  friend bool operator==(const TSchedule&, const TSchedule&) = default;
};

// "ctSpeak" .. "ctMidi", "?" for a value outside the enumeration.
std::string_view CommandName(TCommandType cmd);
// "imAt" .. "imBGM", "?" for a value outside the enumeration.
std::string_view ModeName(TIntervalMode mode);

}  // namespace chimewell
