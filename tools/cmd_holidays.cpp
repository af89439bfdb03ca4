// chimewell-tool holidays: the holidays between two dates, national and the user's own.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "home_holidays.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

constexpr char kUsage[] = "holidays --from \"yyyy/mm/dd\" --until \"yyyy/mm/dd\" [--home DIR]";

struct Options {
  TDateTime from = 0;
  TDateTime until = 0;
  std::optional<std::string> home;
};

bool IsDigits(std::string_view text, size_t min_size, size_t max_size) {
  if (text.size() < min_size || text.size() > max_size) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "yyyy/mm/dd" (months and days may have one digit) as a real date; nullopt otherwise.
std::optional<TDateTime> ReadDate(std::string_view text) {
  const size_t first = text.find('/');
  const size_t second = first == std::string_view::npos ? first : text.find('/', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::string_view year = text.substr(0, first);
  const std::string_view month = text.substr(first + 1, second - first - 1);
  const std::string_view day = text.substr(second + 1);
  if (!IsDigits(year, 4, 4) || !IsDigits(month, 1, 2) || !IsDigits(day, 1, 2)) return std::nullopt;
  return TryEncodeDate(std::stoi(std::string(year)), std::stoi(std::string(month)),
                       std::stoi(std::string(day)));
}

std::optional<std::string> ReadOptions(const std::vector<std::string>& args, Options& options) {
  bool have_from = false;
  bool have_until = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg != "--from" && arg != "--until" && arg != "--home") {
      return "unexpected argument \"" + arg + "\"";
    }
    if (i + 1 >= args.size()) return arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "--home") {
      options.home = value;
      continue;
    }
    const auto date = ReadDate(value);
    if (!date) return arg + " wants a date \"yyyy/mm/dd\", not \"" + value + "\"";
    (arg == "--from" ? options.from : options.until) = *date;
    (arg == "--from" ? have_from : have_until) = true;
  }
  if (!have_from || !have_until) return "--from and --until are required";
  if (options.until < options.from) return "--until is before --from";
  return std::nullopt;
}

int Run(const std::vector<std::string>& args) {
  Options options;
  if (const auto problem = ReadOptions(args, options)) {
    std::fprintf(stderr, "holidays: %s (usage: chimewell-tool %s)\n", problem->c_str(), kUsage);
    return 2;
  }
  std::vector<UserHoliday> user_days;
  if (options.home) {
    HomeHolidays home = ReadHomeHolidays(RealFileSystem(), *options.home);
    if (!home.readable) {
      std::fprintf(stderr, "holidays: cannot read \"%s\"\n",
                   PathsInHome(*options.home).holidays.c_str());
      return 2;
    }
    user_days = std::move(home.days);
  }
  const HolidayCalendar calendar(std::move(user_days));
  for (const auto& holiday : calendar.HolidaysBetween(options.from, options.until)) {
    std::printf("%s\t%s\n", FormatDateTime("yyyy/mm/dd", holiday.day).c_str(),
                holiday.name.c_str());
  }
  return 0;
}

constexpr char kDetails[] =
    "Prints the holidays from one date to another, both included, one line each in date\n"
    "order: the date (yyyy/mm/dd), a tab, and the holiday's name. National holidays are known\n"
    "from 1948/07/20 to 2099/12/31, with 振替休日 and 国民の休日.\n"
    "  --home DIR            add the user's own days off from DIR/chimewell.hol; a bad line\n"
    "                        there is told on standard error and the good lines are used\n"
    "Exits with 2 when a date is not a real yyyy/mm/dd date or --until is before --from.\n"
    "Example: chimewell-tool holidays --from 2026/01/01 --until 2026/12/31\n";

const CommandRegistrar reg("holidays", kUsage, &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
