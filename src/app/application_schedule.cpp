// Edits of the running schedule: a script that does not parse never replaces the one that runs.
#include "app/application.h"
#include "core/text_encoding.h"
#include "schedule/carry_over.h"
#include "schedule/script_text.h"

namespace chimewell {

std::vector<ScheduleProblem> Application::ReplaceSchedule(LineList lines) {
  // Checked before anything changes: a refused edit must not stop what was going to play.
  std::vector<ScheduleProblem> problems = CheckScheduleLines(lines, deps_.files);
  if (!problems.empty()) return problems;
  schedule_lines_ = std::move(lines);
  // What plays goes on, and an entry the edit left as it was keeps its next moment (and with
  // it the sound prepared for it, and an open music window that plays); only the music of a
  // music line the edit removed or changed stops.
  const std::vector<TSchedule> before = schedule_.ScheduleEntries();
  {
    const PanelBatch panel_batch(*this);
    schedule_.LoadSchedule(schedule_lines_, config_.DefaultVolume);
  }
  if (CarryOverUnchanged(before, schedule_.ScheduleEntries()).music_line_gone) {
    playback_->EndMusic();
  }
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
