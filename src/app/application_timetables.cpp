// The named timetables beside the main schedule and the calendar that picks one for each day:
// read at start, edited from the page, and today's changed with one tap.
#include "app/application.h"
#include "app/texts.h"
#include "core/clock.h"
#include "core/date_words.h"
#include "core/ini_file.h"
#include "core/text_encoding.h"
#include "platform/file_system.h"
#include "schedule/script_text.h"
#include "schedule/timetable_texts.h"

namespace chimewell {
namespace {

// Where today's change is kept, so that a restart during the day keeps it.
constexpr std::string_view kTimetableSection = "Timetable";
constexpr std::string_view kTodayKey = "Today";

}  // namespace

std::string Application::TimetablePath(const std::string& name) const {
  return deps_.paths.timetable_stem + "." + name + ".sch";
}

LineList Application::ReadLinesOf(const std::string& path) const {
  const auto bytes = deps_.files.ReadFile(path, FileKind::kScript);
  return bytes ? ScriptLinesFromBytes(*bytes) : LineList{};
}

void Application::LoadTimetables() {
  calendar_lines_ = ReadLinesOf(deps_.paths.calendar);
  std::vector<CalendarProblem> problems;
  TimetableCalendar calendar = TimetableCalendar::Parse(JoinedLines(calendar_lines_), problems);
  for (const CalendarProblem& problem : problems) ShowPanelMessage(problem.text);
  // A change made on the page today still holds after a restart; one of another day is over.
  const std::string kept =
      IniFile(deps_.paths.settings).ReadString(kTimetableSection, kTodayKey, "");
  const auto [date_word, name] = SplitFirstWord(kept);
  if (const auto date = ParseDateTime(std::string(date_word) + " 00:00:00");
      date && DateOf(*date) == DateOf(deps_.clock.Now()) &&
      (name == timetable_texts::kNone || calendar.Knows(name))) {
    calendar.SetDayChange({*date, name == timetable_texts::kNone ? "" : std::string(name)});
  }
  timetable_lines_.clear();
  for (const std::string& timetable : calendar.Names()) {
    timetable_lines_[timetable] = ReadLinesOf(TimetablePath(timetable));
  }
  schedule_.SetCalendar(std::move(calendar));
}

bool Application::LoadTimetableEntries() {
  bool all_valid = true;
  for (const auto& [name, lines] : timetable_lines_) {
    all_valid = schedule_.AddTimetable(name, lines, config_.DefaultVolume) && all_valid;
  }
  return all_valid;
}

const LineList& Application::TimetableLines(const std::string& name) const {
  static const LineList kEmpty;
  const auto it = timetable_lines_.find(name);
  return it == timetable_lines_.end() ? kEmpty : it->second;
}

std::string Application::TimetableOn(TDateTime day) const {
  return schedule_.Calendar().On(day, holidays_);
}

std::vector<std::string> Application::ReplaceTimetable(const std::string& name, LineList lines) {
  if (!schedule_.Calendar().Knows(name)) return {timetable_texts::UnknownTimetable(name)};
  std::vector<std::string> problems;
  for (const ScheduleProblem& problem : CheckScheduleLines(lines, schedule_.Files())) {
    problems.push_back(timetable_texts::InTimetable(name, problem.Text()));
  }
  if (!problems.empty()) return problems;
  timetable_lines_[name] = std::move(lines);
  ApplyEntriesEdit();
  LogEncodingChange(log_, TimetablePath(name),
                    SaveScheduleFile(TimetablePath(name), timetable_lines_[name]));
  return {};
}

std::vector<CalendarProblem> Application::ReplaceCalendar(LineList lines) {
  std::vector<CalendarProblem> problems;
  TimetableCalendar calendar = TimetableCalendar::Parse(JoinedLines(lines), problems);
  if (!problems.empty()) return problems;
  // Today's change stays while its timetable does.
  if (const auto& change = schedule_.Calendar().DayChange();
      change && (change->name.empty() || calendar.Knows(change->name))) {
    calendar.SetDayChange(*change);
  }
  calendar_lines_ = std::move(lines);
  std::map<std::string, LineList> kept;
  for (const std::string& name : calendar.Names()) {
    const auto it = timetable_lines_.find(name);
    kept[name] =
        it != timetable_lines_.end() ? std::move(it->second) : ReadLinesOf(TimetablePath(name));
  }
  timetable_lines_ = std::move(kept);
  schedule_.SetCalendar(std::move(calendar));
  ApplyEntriesEdit();
  // Entries kept as they were may now fall on other days.
  FollowCalendarChange();
  LogEncodingChange(log_, deps_.paths.calendar,
                    SaveScheduleFile(deps_.paths.calendar, calendar_lines_));
  return {};
}

bool Application::ChangeToday(const std::string& name) {
  const bool none = name.empty() || name == timetable_texts::kNone;
  if (!none && !schedule_.Calendar().Knows(name)) return false;
  const TDateTime today = DateOf(deps_.clock.Now());
  schedule_.Calendar().SetDayChange({today, none ? "" : name});
  FollowCalendarChange();
  // A preview of the schedule writes nothing.
  if (outlet_.Plays()) {
    IniFile ini(deps_.paths.settings);
    const std::string chosen = none ? std::string(timetable_texts::kNone) : name;
    ini.WriteString(kTimetableSection, kTodayKey, FormatDateTime("yyyy/mm/dd ", today) + chosen);
    LogEncodingChange(log_, deps_.paths.settings, ini.Save());
  }
  return true;
}

void Application::RevertToday() {
  schedule_.Calendar().ClearDayChange();
  FollowCalendarChange();
  if (outlet_.Plays()) {
    IniFile ini(deps_.paths.settings);
    ini.WriteString(kTimetableSection, kTodayKey, "");
    LogEncodingChange(log_, deps_.paths.settings, ini.Save());
  }
}

void Application::FollowCalendarChange() {
  // Every entry's next day is judged again; what plays now goes on.
  deps_.speech.DiscardPrepared();
  planner_.FollowHolidayChange(ReadMoment());
}

}  // namespace chimewell
