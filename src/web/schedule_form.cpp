#include "web/schedule_form.h"

#include <array>

#include "app/application.h"
#include "core/html_escape.h"
#include "core/text_encoding.h"
#include "web/form_fields.h"
#include "web/form_texts.h"
#include "web/param_decoding.h"
#include "web/problem_list.h"
#include "web/text_util.h"

namespace chimewell {
namespace {

std::string CommandWord(std::string_view kind) {
  if (kind == "JIHO") return "Time";
  if (kind == "MESS") return "Speak";
  if (kind == "WAVE") return "WAVE";
  return "MIDI";
}

// The weekday fields, Sunday to Saturday, and the word each adds.
struct WeekdayField {
  std::string_view field;
  std::string_view word;
};
constexpr std::array<WeekdayField, 7> kWeekdays{{{"SCHEW1", " 日"},
                                                 {"SCHEW2", " 月"},
                                                 {"SCHEW3", " 火"},
                                                 {"SCHEW4", " 水"},
                                                 {"SCHEW5", " 木"},
                                                 {"SCHEW6", " 金"},
                                                 {"SCHEW7", " 土"}}};

}  // namespace

ScheduleFormKind ChooseScheduleForm(const DecodedParams& params) {
  if (IsPresent(params, "SCHEADD")) return ScheduleFormKind::kAddLine;
  if (IsPresent(params, "SCHESET")) return ScheduleFormKind::kReplaceScript;
  return ScheduleFormKind::kNone;
}

std::string BuildScheduleLine(const DecodedParams& params) {
  const auto field = [&params](std::string_view name) { return GetParam(params, name); };
  const std::string kind = field("SCHECMD");
  std::string line =
      CommandWord(kind) + " \"" + std::string(TrimBlanksAndControls(field("SCHEARG"))) + "\"";

  const std::string mode = field(kind == "JIHO" ? "SCHEINTA" : "SCHEINTB");
  if (mode == "AT") {
    line += " At " + field("SCHE1HOUR") + ":" + field("SCHE1MIN");
  } else {
    std::string item;
    if (mode == "SKIP") item = field("SCHESKIPMIN");
    if (mode == "ALL") item = field("SCHEALLMIN");
    line += " " + mode + " " + item + " from " + field("SCHE2HOUR") + ":" + field("SCHE2MIN") +
            " to " + field("SCHE3HOUR") + ":" + field("SCHE3MIN");
  }
  if (mode != "BGM") line += " repeat " + field("SCHEREPEAT");

  std::string days;
  for (const WeekdayField& day : kWeekdays) {
    if (IsPresent(params, day.field)) days += day.word;
  }
  if (!days.empty()) line += " every" + days;
  const std::string holidays = field("SCHEHOLIDAY");
  if (holidays == "SKIP") line += " NoHoliday";
  if (holidays == "ONLY") line += " OnHoliday";
  // The script is kept and saved as UTF-8; a stray byte would make the file read as CP932.
  return ToValidUtf8(line);
}

LineList ScriptTextLines(std::string_view sent) {
  if (sent.empty()) return {form_texts::kEmptyScriptComment};
  return TextAreaLines(sent);
}

namespace {

// "スクリプトにエラーがあります" and each problem below it, for the page.
std::string ProblemsText(const std::vector<ScheduleProblem>& problems) {
  std::vector<std::string> texts;
  texts.reserve(problems.size());
  for (const ScheduleProblem& problem : problems) texts.push_back(problem.Text());
  return ProblemListHtml(form_texts::kScriptHasErrors, texts);
}

// SCHEADD with SCHETT: the line goes to that timetable instead.
void AddTimetableLine(RequestContext& ctx, const std::string& timetable, const std::string& line,
                      const std::string& token) {
  LineList lines = ctx.app.TimetableLines(timetable);
  lines.Append(line);
  const std::vector<std::string> problems = ctx.app.ReplaceTimetable(timetable, lines);
  if (!problems.empty()) {
    ctx.timetable_draft.emplace(timetable, std::move(lines));
    ctx.error_text = ProblemListHtml(form_texts::TimetableHasErrors(timetable), problems);
    return;
  }
  ctx.add_tokens.MarkUsed(token);
  ctx.notice_text = std::string(form_texts::kAddedOneLine) + HtmlEscape(line);
}

// SCHEADD: one line added to the running schedule, once per token.
void AddLine(RequestContext& ctx) {
  const std::string token = ctx.Param("SCHETOKEN");
  if (ctx.add_tokens.Used(token)) {
    ctx.notice_text = form_texts::kAlreadyAdded;
    return;
  }
  Application& app = ctx.app;
  const std::string line = BuildScheduleLine(ctx.request.ParamList);
  if (const std::string timetable = ctx.Param("SCHETT"); !timetable.empty()) {
    AddTimetableLine(ctx, timetable, line, token);
    return;
  }
  const std::vector<ScheduleProblem> problems = app.AddScheduleLine(line);
  if (!problems.empty()) {
    LineList draft = app.ScheduleLines();
    draft.Append(line);
    ctx.schedule_draft = std::move(draft);
    ctx.error_text = ProblemsText(problems);
    return;
  }
  ctx.add_tokens.MarkUsed(token);
  ctx.notice_text = std::string(form_texts::kAddedOneLine) + HtmlEscape(line);
}

// SCHESET: the whole script replaced.
void ReplaceScript(RequestContext& ctx) {
  LineList script = ScriptTextLines(ctx.Param("CONTENTS"));
  const std::vector<ScheduleProblem> problems = ctx.app.ReplaceSchedule(script);
  if (problems.empty()) return;
  // The refused text stays on the page for correction; what runs and the file are untouched.
  ctx.schedule_draft = std::move(script);
  ctx.error_text = ProblemsText(problems);
}

}  // namespace

bool HandleScheduleForm(RequestContext& ctx) {
  const ScheduleFormKind kind = ChooseScheduleForm(ctx.request.ParamList);
  if (kind == ScheduleFormKind::kNone) return false;
  ctx.open_section = PageSection::kSchedule;
  if (kind == ScheduleFormKind::kAddLine) {
    AddLine(ctx);
  } else {
    ReplaceScript(ctx);
  }
  return true;
}

}  // namespace chimewell
