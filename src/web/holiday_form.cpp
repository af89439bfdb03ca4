#include "web/holiday_form.h"

#include <string>
#include <vector>

#include "app/application.h"
#include "web/form_texts.h"
#include "web/problem_list.h"

namespace chimewell {

bool HandleHolidayForm(RequestContext& ctx) {
  if (!ctx.Has("HOLISET")) return false;
  ctx.open_section = PageSection::kSchedule;
  LineList lines = TextAreaLines(ctx.Param("HOLIDAYS"));
  const std::vector<HolidayFileProblem> problems = ctx.app.ReplaceHolidays(lines);
  if (problems.empty()) {
    ctx.notice_text = form_texts::kHolidaysSaved;
    return true;
  }
  // The refused text stays on the page for correction; the days in force and the file stay.
  std::vector<std::string> texts;
  texts.reserve(problems.size());
  for (const HolidayFileProblem& problem : problems) {
    texts.push_back(problem.text);
  }
  ctx.holiday_draft = std::move(lines);
  ctx.error_text = ProblemListHtml(form_texts::kHolidaysHaveErrors, texts);
  return true;
}

}  // namespace chimewell
