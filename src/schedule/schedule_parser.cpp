#include "schedule/schedule_parser.h"

#include <optional>
#include <utility>

#include "platform/file_system.h"
#include "schedule/script_lexer.h"

namespace chimewell {
namespace {

template <typename T>
using Keywords = std::initializer_list<std::pair<std::string_view, T>>;

template <typename T>
std::optional<T> Lookup(std::string_view word, Keywords<T> keywords) {
  for (const auto& [name, value] : keywords) {
    if (EqualsIgnoringCase(word, name)) return value;
  }
  return std::nullopt;
}

std::optional<TCommandType> CommandOf(std::string_view word) {
  return Lookup<TCommandType>(
      word, {{"Speak", ctSpeak}, {"Time", ctTime}, {"Wave", ctWave}, {"Midi", ctMidi}});
}

std::optional<TIntervalMode> ModeOf(std::string_view word) {
  return Lookup<TIntervalMode>(
      word, {{"At", imAt}, {"Skip", imSkip}, {"ALL", imRegular}, {"BGM", imBGM}});
}

// The holiday options, each with its Japanese name.
std::optional<HolidayRule> HolidayRuleOf(std::string_view word) {
  return Lookup<HolidayRule>(word, {{"NoHoliday", HolidayRule::kSkipHolidays},
                                    {"祝日除く", HolidayRule::kSkipHolidays},
                                    {"OnHoliday", HolidayRule::kOnlyHolidays},
                                    {"祝日のみ", HolidayRule::kOnlyHolidays}});
}

bool TimeFitsMode(int seconds, TIntervalMode mode) {
  switch (mode) {
    case imAt:
      return seconds >= 0 && seconds <= 86399;
    case imSkip:
      return seconds >= 1 && seconds <= 86399;
    case imRegular:
      return seconds >= 0 && seconds <= 3599;
    case imBGM:
      break;
  }
  return false;
}

// Why the time list of a line in `mode` stopped before its first time.
ScheduleFault BadTimeFault(TIntervalMode mode) {
  if (mode == imSkip) return ScheduleFault::kBadInterval;
  if (mode == imRegular) return ScheduleFault::kBadMinuteOfHour;
  return ScheduleFault::kBadTimeOfDay;
}

// Removes one outer pair of equal quotes from a Speak or Time message.
std::string_view StripOuterQuotes(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace

int ParseScheduleLine(std::string_view line, const FileSystem& files, ParsedScheduleLine& out) {
  out.fault = ScheduleFault::kNone;
  out.subject.clear();
  line = TrimScheduleText(line);
  if (line.empty() || line.front() == '#') return kScheduleComment;

  // Every refusal names its reason, and the item the user should look at.
  const auto fail = [&out](int index, ScheduleFault fault, std::string_view subject = {}) {
    out.fault = fault;
    out.subject = std::string(subject);
    return index;
  };

  out.times.clear();
  out.items.clear();
  if (!SplitScheduleLine(line, out.items)) return fail(0, ScheduleFault::kUnbalancedQuotes);
  auto& items = out.items;
  const int count = static_cast<int>(items.size());

  const auto command = count > 0 ? CommandOf(items[0]) : std::nullopt;
  if (!command) return fail(0, ScheduleFault::kUnknownCommand, count > 0 ? items[0] : "");
  out.command = *command;

  if (count < 2) return fail(1, ScheduleFault::kNoMessage);
  if (out.command == ctWave || out.command == ctMidi) {
    if (!files.FileExists(items[1])) return fail(1, ScheduleFault::kFileNotFound, items[1]);
  } else {
    const std::string_view message = StripOuterQuotes(items[1]);
    if (message.empty()) return fail(1, ScheduleFault::kEmptyMessage);
    items[1] = std::string(message);
  }

  if (count < 3) return fail(2, ScheduleFault::kNoMode);
  const auto mode = ModeOf(items[2]);
  if (!mode) return fail(2, ScheduleFault::kUnknownMode, items[2]);
  if (out.command == ctTime && *mode == imBGM) return fail(2, ScheduleFault::kTimeSignalAsMusic);
  out.mode = *mode;

  int i = 3;
  if (out.mode == imBGM) {
    out.times.push_back(0);
  } else {
    for (; i < count; ++i) {
      const int seconds = ParseClockTime(items[i]);
      if (!TimeFitsMode(seconds, out.mode)) break;
      out.times.push_back(seconds);
    }
    if (out.times.empty()) {
      if (i == count) return fail(i, ScheduleFault::kNoTime);
      return fail(i, BadTimeFault(out.mode), items[i]);
    }
  }

  out.weekdays = 0;
  out.holidays = HolidayRule::kAny;
  out.from_time = 0;
  out.to_time = kEndOfDaySeconds;
  out.repeat = 1;
  out.confirm = false;
  // The window's items as written, for the message when they make no window.
  std::string from_item;
  std::string to_item;

  while (i < count) {
    const std::string_view word = items[i];
    const bool has_value = i + 1 < count;
    if (EqualsIgnoringCase(word, "Confirm")) {
      out.confirm = true;
      ++i;
    } else if (EqualsIgnoringCase(word, "Every")) {
      for (++i; i < count; ++i) {
        const int day = WeekdayOfName(items[i]);
        if (day == 0) break;
        out.weekdays |= static_cast<uint8_t>(1u << day);
      }
    } else if (EqualsIgnoringCase(word, "Repeat")) {
      if (!has_value) return fail(count, ScheduleFault::kMissingValue, word);
      const int n = ParseDecimal(items[i + 1]);
      if (n < 1) return fail(i + 1, ScheduleFault::kBadRepeat, items[i + 1]);
      out.repeat = n;
      i += 2;
    } else if (EqualsIgnoringCase(word, "Volume")) {
      if (!has_value) return fail(count, ScheduleFault::kMissingValue, word);
      const int n = ParseDecimal(items[i + 1]);
      if (n < 1 || n > 100) return fail(i + 1, ScheduleFault::kBadVolume, items[i + 1]);
      out.volume = n;
      i += 2;
    } else if (const auto rule = HolidayRuleOf(word)) {
      // Skipping holidays and firing only on them leave no day; saying one twice is harmless.
      if (out.holidays != HolidayRule::kAny && out.holidays != *rule) {
        return fail(i, ScheduleFault::kHolidayRuleClash, word);
      }
      out.holidays = *rule;
      ++i;
    } else if (EqualsIgnoringCase(word, "from") || EqualsIgnoringCase(word, "to")) {
      if (!has_value) return fail(count, ScheduleFault::kMissingValue, word);
      const bool from = EqualsIgnoringCase(word, "from");
      (from ? out.from_time : out.to_time) = ParseClockTime(items[i + 1]);
      (from ? from_item : to_item) = std::string(word) + " " + items[i + 1];
      i += 2;
    } else {
      return fail(i, ScheduleFault::kUnknownOption, word);
    }
  }

  if (out.weekdays == 0) out.weekdays = kEveryWeekday;
  const auto in_day = [](int seconds) { return seconds >= 0 && seconds <= kEndOfDaySeconds; };
  if (!in_day(out.from_time)) return fail(count, ScheduleFault::kBadWindowTime, from_item);
  if (!in_day(out.to_time)) return fail(count, ScheduleFault::kBadWindowTime, to_item);
  if (out.from_time >= out.to_time) return fail(count, ScheduleFault::kEmptyWindow);
  return kScheduleLineValid;
}

}  // namespace chimewell
