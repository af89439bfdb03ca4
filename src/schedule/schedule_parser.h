#pragma once
// Parsing one schedule script line into its command, message, mode, times and options.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/schedule_entry.h"

namespace chimewell {

class FileSystem;

// ParseScheduleLine's result for a comment or blank line, and for a valid line. Any other
// result is the 0-based index of the item in error (it may equal the item count).
inline constexpr int kScheduleComment = -999;
inline constexpr int kScheduleLineValid = -1;

// Why a line was refused. The item the user is told about is ParsedScheduleLine::subject.
enum class ScheduleFault : uint8_t {
  kNone,
  kUnbalancedQuotes,
  kUnknownCommand,     // subject: the word
  kNoMessage,          // the line ends after the command
  kFileNotFound,       // subject: the path
  kEmptyMessage,       // quotes with nothing inside
  kNoMode,             // the line ends after the message
  kUnknownMode,        // subject: the word
  kTimeSignalAsMusic,  // Time ... BGM
  kBadTimeOfDay,       // subject: the item that stopped an At line's times
  kBadInterval,        // ... a Skip line's
  kBadMinuteOfHour,    // ... an ALL line's
  kNoTime,             // the line ends where the first time should be
  kBadRepeat,          // subject: the value
  kBadVolume,          // subject: the value
  kUnknownOption,      // subject: the word
  kMissingValue,       // subject: the keyword that stands last
  kBadWindowTime,      // subject: "from" or "to" and its value
  kEmptyWindow,        // from is not before to
  kHolidayRuleClash,   // NoHoliday and OnHoliday on one line; subject: the second of them
};

// What a line parses into. The caller keeps one of these for a whole file so the lists are
// reused, and presets `volume` (the default volume) before each line.
struct ParsedScheduleLine {
  std::vector<int> times;
  std::vector<std::string> items;  // items[1] is the message once the line is valid
  int volume = 100;
  bool confirm = false;
  int repeat = 1;
  uint8_t weekdays = kEveryWeekday;
  HolidayRule holidays = HolidayRule::kAny;
  int to_time = kEndOfDaySeconds;
  int from_time = 0;
  TIntervalMode mode = imAt;
  TCommandType command = ctSpeak;
  // Why the line was refused (kNone for a valid line or a comment), and what it names.
  ScheduleFault fault = ScheduleFault::kNone;
  std::string subject;
};

// `files` answers whether a Wave or Midi line's file exists.
int ParseScheduleLine(std::string_view line, const FileSystem& files, ParsedScheduleLine& out);

}  // namespace chimewell
