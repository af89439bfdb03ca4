// Edits of the running schedule: a script that does not parse never replaces the one that runs.
#include "app/application.h"
#include "core/text_encoding.h"
#include "schedule/script_text.h"

namespace chimewell {

std::vector<ScheduleProblem> Application::ReplaceSchedule(LineList lines) {
  // Checked before anything changes: a refused edit must not stop what was going to play.
  std::vector<ScheduleProblem> problems = CheckScheduleLines(lines, schedule_.Files());
  if (!problems.empty()) return problems;
  schedule_lines_ = std::move(lines);
  PM_MenuClick(MenuItem::PM_Clear);
  ReloadSchedule();
  // The new entries are live already; they get their next times even if saving fails.
  planner_.SetRecomputeFlag(1);
  LogEncodingChange(log_, deps_.paths.schedule,
                    SaveScheduleFile(deps_.paths.schedule, schedule_lines_));
  return {};
}

std::vector<ScheduleProblem> Application::AddScheduleLine(std::string_view line) {
  LineList script = schedule_lines_;
  script.Append(line);
  return ReplaceSchedule(std::move(script));
}

}  // namespace chimewell
