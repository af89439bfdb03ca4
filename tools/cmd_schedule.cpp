// chimewell-tool schedule: checks a schedule script and shows when each entry fires next.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "app/texts.h"
#include "core/datetime.h"
#include "core/text_encoding.h"
#include "platform/file_system.h"
#include "platform/system_clock.h"
#include "schedule/schedule.h"
#include "schedule/schedule_texts.h"
#include "schedule/script_lexer.h"
#include "schedule/script_text.h"
#include "schedule/upcoming_firings.h"
#include "home_holidays.h"
#include "user_files.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

constexpr char kUsage[] =
    "schedule [FILE] [--at \"yyyy/mm/dd hh:nn:ss.zzz\"] [--recompute] [--default-volume N] "
    "[--upcoming N] [--home DIR]";
constexpr char kMomentFormat[] = "yyyy/mm/dd hh:nn:ss.zzz";

struct Options {
  std::string file;
  TDateTime at = 0;
  int recompute_flag = 0;
  int default_volume = 100;
  std::optional<int> upcoming;
  std::optional<std::string> home;  // the folder whose holiday file counts
};

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "schedule: %s\nusage: chimewell-tool %s\n", problem.c_str(), kUsage);
  return 2;
}

// Fills `options` from the arguments; an error text when they do not make sense.
std::optional<std::string> ReadOptions(const std::vector<std::string>& args, Options& options) {
  bool have_at = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--recompute") {
      options.recompute_flag = 1;
    } else if (arg == "--at") {
      if (!has_value) return "--at needs a moment";
      const auto at = ParseDateTime(args[++i]);
      if (!at) return "--at wants \"yyyy/mm/dd hh:nn:ss.zzz\", not \"" + args[i] + "\"";
      options.at = *at;
      have_at = true;
    } else if (arg == "--default-volume") {
      if (!has_value) return "--default-volume needs a number";
      options.default_volume = ParseDecimal(args[++i]);
      if (options.default_volume < 0 || options.default_volume > 100) {
        return "--default-volume wants 0 to 100, not \"" + args[i] + "\"";
      }
    } else if (arg == "--upcoming") {
      if (!has_value) return "--upcoming needs a count";
      options.upcoming = ParseDecimal(args[++i]);
      if (*options.upcoming < 1) return "--upcoming wants a count of 1 or more";
    } else if (arg == "--home") {
      if (!has_value) return "--home needs a folder";
      options.home = args[++i];
    } else if (arg.starts_with("--") || !options.file.empty()) {
      return "unexpected argument \"" + arg + "\"";
    } else {
      options.file = arg;
    }
  }
  if (!have_at) options.at = SystemClock().Now();
  return std::nullopt;
}

// The days off that go with the script: the --home folder's, else those of the user's files
// for the user's own schedule, else those beside the script given. Bad lines are reported on
// standard error; false when a line had an error.
bool ReadHolidays(const FileSystem& files, const Options& options, const std::string& holiday_file,
                  HolidayCalendar& holidays) {
  HomeHolidays read = options.home && !options.file.empty()
                          ? ReadHomeHolidays(files, *options.home)
                          : ReadHolidayFileAt(files, holiday_file);
  holidays = HolidayCalendar(std::move(read.days));
  return read.clean;
}

// The timetables beside the script: the calendar named like it (NAME.cal) and each timetable
// it names (NAME.TIMETABLE.sch). Bad lines are reported on standard error; false when a line
// had an error.
bool LoadTimetables(const FileSystem& files, const Options& options, Schedule& schedule) {
  const std::string stem = std::filesystem::path(options.file).replace_extension("").string();
  const auto calendar_bytes = files.ReadFile(stem + ".cal", FileKind::kScript);
  if (!calendar_bytes) return true;
  std::vector<CalendarProblem> problems;
  schedule.SetCalendar(TimetableCalendar::Parse(DecodeFileText(*calendar_bytes), problems));
  for (const CalendarProblem& problem : problems) std::fprintf(stderr, "%s\n", problem.text.c_str());
  bool all_valid = problems.empty();
  for (const std::string& name : schedule.Calendar().Names()) {
    const auto bytes = files.ReadFile(stem + "." + name + ".sch", FileKind::kScript);
    if (!bytes) continue;  // a timetable not written yet is empty
    all_valid =
        schedule.AddTimetable(name, ScriptLinesFromBytes(*bytes), options.default_volume) &&
        all_valid;
  }
  return all_valid;
}

void PrintEntries(const Schedule& schedule, const Options& options) {
  const auto& entries = schedule.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const TSchedule& e = entries[i];
    const TDateTime next = schedule.MakeNextTime(i, options.at, options.recompute_flag);
    const std::string next_text = next == 0 ? "none" : FormatDateTime(kMomentFormat, next);
    std::printf("%zu\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s\n", i,
                std::string(CommandName(e.Cmd)).c_str(), std::string(ModeName(e.Mode)).c_str(),
                e.Seconds, e.FromTime, e.ToTime, e.Weekdays, e.RepeatCount, e.Volume,
                e.ConfirmFlag ? 1 : 0, next_text.c_str(), e.Msg.c_str());
  }
}

void PrintUpcoming(const Schedule& schedule, const HolidayCalendar& holidays,
                   const Options& options) {
  const auto& entries = schedule.ScheduleEntries();
  for (const ScheduledFiring& firing :
       UpcomingFirings(entries, holidays, options.at, options.recompute_flag,
                       static_cast<size_t>(*options.upcoming), &schedule.Calendar())) {
    const TSchedule& e = entries[firing.index];
    std::printf("%s\t%s\t%s%s%s\n", FormatDateTime(kMomentFormat, firing.moment).c_str(),
                std::string(schedule_texts::CommandWord(e.Cmd)).c_str(), e.Msg.c_str(),
                e.Timetable.empty() ? "" : "\t", e.Timetable.c_str());
  }
}

int Run(const std::vector<std::string>& args) {
  Options options;
  if (const auto problem = ReadOptions(args, options)) return UsageError(*problem);

  std::string holiday_file;
  if (options.file.empty()) {
    // The user's own schedule, where the clock keeps it.
    const auto paths = UserFiles(options.home);
    if (!paths) {
      return UsageError("no script file given, and neither XDG_CONFIG_HOME nor HOME is set");
    }
    options.file = paths->schedule;
    holiday_file = paths->holidays;
  } else {
    holiday_file = HolidaysBeside(options.file);
  }
  const RealFileSystem files;
  const auto bytes = files.ReadFile(options.file, FileKind::kScript);
  if (!bytes) {
    std::fprintf(stderr, "schedule: cannot read \"%s\"\n", options.file.c_str());
    return 2;
  }
  ScheduleReporting reporting;
  reporting.show_panel_message = [](const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
  };
  HolidayCalendar holidays;
  const bool holidays_valid = ReadHolidays(files, options, holiday_file, holidays);
  Schedule schedule(files, reporting, holidays);
  schedule.Files().SetChimeFolder(ChimeFolder());
  bool all_valid =
      schedule.LoadSchedule(ScriptLinesFromBytes(*bytes), options.default_volume) && holidays_valid;
  all_valid = LoadTimetables(files, options, schedule) && all_valid;
  if (options.upcoming) {
    PrintUpcoming(schedule, holidays, options);
  } else {
    PrintEntries(schedule, options);
  }
  return all_valid ? 0 : 1;
}

constexpr char kDetails[] =
    "Reads a schedule script (without FILE the user's own, from the folder the clock uses or\n"
    "--home DIR), reports each line with an error and why on standard error, and\n"
    "prints one line per entry, the fields separated by tabs: number, command, interval mode,\n"
    "seconds, from, to, weekdays, repeat count, volume, confirm flag, next firing time (or none), "
    "text.\n"
    "  --at MOMENT           compute the next firings from MOMENT instead of now\n"
    "  --recompute           compute them as after a change of date\n"
    "  --default-volume N    volume of entries that name none (0 to 100; 100 if not given)\n"
    "  --upcoming N          print instead the next N firings in order: moment, what\n"
    "                        (話す, 時報, WAVE, MIDI), text, and the timetable (日課) of an\n"
    "                        entry of one\n"
    "  --home DIR            the days off in DIR/chimewell.hol count as holidays for the\n"
    "                        NoHoliday and OnHoliday options; without FILE, DIR's schedule\n"
    "The days off of a FILE given without --home are those beside it: FILE's name with .hol,\n"
    "else chimewell.hol in its folder. Its timetables: the calendar FILE's name with .cal, and\n"
    "each timetable it names in FILE's name with .NAME.sch.\n"
    "Exits with 1 when a line (of either file) has an error, 2 when the arguments are wrong.\n";

const CommandRegistrar reg("schedule", kUsage, &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
