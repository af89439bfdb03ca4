// The user's own days off: read at start, edited from the page, and what depends on them.
#include "app/application.h"
#include "app/texts.h"
#include "core/text_encoding.h"
#include "platform/file_system.h"
#include "schedule/script_text.h"

namespace chimewell {

void Application::LoadHolidays() {
  const auto bytes = deps_.files.ReadFile(deps_.paths.holidays, FileKind::kScript);
  holiday_lines_ = bytes ? ScriptLinesFromBytes(*bytes) : LineList{};
  HolidayFileContents contents = ParseHolidayFile(JoinedLines(holiday_lines_));
  for (const HolidayFileProblem& problem : contents.problems) {
    ShowPanelMessage(problem.text);
  }
  holidays_ = HolidayCalendar(std::move(contents.days));
  time_signal_.SetHolidays(holidays_);
}

std::vector<HolidayFileProblem> Application::ReplaceHolidays(LineList lines) {
  HolidayFileContents contents = ParseHolidayFile(JoinedLines(lines));
  if (!contents.problems.empty()) return std::move(contents.problems);
  holiday_lines_ = std::move(lines);
  holidays_ = HolidayCalendar(std::move(contents.days));
  time_signal_.SetHolidays(holidays_);
  // Every entry's next day is judged again; what plays now goes on.
  deps_.speech.DiscardPrepared();
  planner_.FollowHolidayChange(ReadMoment());
  LogEncodingChange(log_, deps_.paths.holidays,
                    SaveScheduleFile(deps_.paths.holidays, holiday_lines_));
  return {};
}

}  // namespace chimewell
