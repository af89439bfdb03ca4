#include "web/timetable_form.h"

#include <string>
#include <vector>

#include "app/application.h"
#include "schedule/timetable_texts.h"
#include "web/form_texts.h"
#include "web/problem_list.h"

namespace chimewell {
namespace {

void ChangeToday(RequestContext& ctx) {
  const std::string name = ctx.Param("TTTODAY");
  if (!ctx.app.ChangeToday(name)) {
    ctx.error_text = HtmlEscape(form_texts::UnknownTimetable(name)) + "<BR>\r\n";
    return;
  }
  if (name == timetable_texts::kNone) {
    ctx.AddNotice(std::string(form_texts::kTodayNoChimes));
  } else {
    ctx.AddNotice(form_texts::TodayChanged(name));
  }
}

void SaveTimetable(RequestContext& ctx) {
  const std::string name = ctx.Param("TTNAME");
  LineList lines = TextAreaLines(ctx.Param("TTLINES"));
  const std::vector<std::string> problems = ctx.app.ReplaceTimetable(name, lines);
  if (problems.empty()) {
    ctx.AddNotice(form_texts::TimetableSaved(name));
    return;
  }
  ctx.timetable_draft.emplace(name, std::move(lines));
  ctx.error_text = ProblemListHtml(form_texts::TimetableHasErrors(name), problems);
}

void SaveCalendar(RequestContext& ctx) {
  LineList lines = TextAreaLines(ctx.Param("CALENDAR"));
  const std::vector<CalendarProblem> problems = ctx.app.ReplaceCalendar(lines);
  if (problems.empty()) {
    ctx.AddNotice(std::string(form_texts::kCalendarSaved));
    return;
  }
  std::vector<std::string> texts;
  for (const CalendarProblem& problem : problems) texts.push_back(problem.text);
  ctx.calendar_draft = std::move(lines);
  ctx.error_text = ProblemListHtml(form_texts::kCalendarHasErrors, texts);
}

}  // namespace

bool HandleTimetableForm(RequestContext& ctx) {
  if (ctx.Has("TTTODAY")) {
    ChangeToday(ctx);
  } else if (ctx.Has("TTREVERT")) {
    ctx.app.RevertToday();
    ctx.AddNotice(std::string(form_texts::kTodayReverted));
  } else if (ctx.Has("TTSET")) {
    SaveTimetable(ctx);
  } else if (ctx.Has("CALSET")) {
    SaveCalendar(ctx);
  } else {
    return false;
  }
  ctx.open_section = PageSection::kSchedule;
  return true;
}

}  // namespace chimewell
