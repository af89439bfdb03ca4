#include "web/schedule_form.h"

#include <array>

#include "app/application.h"
#include "core/text_encoding.h"
#include "core/text_file.h"
#include "web/form_fields.h"
#include "web/form_texts.h"
#include "web/param_decoding.h"
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
  // The script is kept as UTF-8 whatever the bytes sent.
  return ToValidUtf8(line);
}

LineList ScriptTextLines(std::string_view sent) {
  if (sent.empty()) return {form_texts::kEmptyScriptComment};
  // The script is kept as UTF-8 whatever the bytes sent.
  const std::string valid = ToValidUtf8(sent);
  const std::string_view contents = valid;
  LineList lines;
  size_t start = 0;
  while (start < contents.size()) {
    const size_t end = contents.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.Append(contents.substr(start));
      break;
    }
    lines.Append(contents.substr(start, end - start));
    start = end + 1;
    if (contents[end] == '\r' && start < contents.size() && contents[start] == '\n') ++start;
  }
  return lines;
}

std::string ScheduleFileText(const LineList& lines) {
  std::string text;
  for (const std::string_view line : lines) text.append(line).append("\r\n");
  return text;
}

EncodingChange SaveScheduleFile(const std::filesystem::path& path, const LineList& lines) {
  return ReplaceTextFile(path, ScheduleFileText(lines));
}

bool HandleScheduleForm(RequestContext& ctx) {
  const DecodedParams& params = ctx.request.ParamList;
  const ScheduleFormKind kind = ChooseScheduleForm(params);
  if (kind == ScheduleFormKind::kNone) return false;

  Application& app = ctx.app;
  if (kind == ScheduleFormKind::kAddLine) {
    app.ScheduleLines().push_back(BuildScheduleLine(params));
  } else {
    app.ScheduleLines() = ScriptTextLines(ctx.Param("CONTENTS"));
  }
  app.PM_MenuClick(MenuItem::PM_Clear);
  if (app.ReloadSchedule()) {
    // The new entries are live already; they get their next times even if saving fails.
    app.SetRecomputeFlag(1);
    LogEncodingChange(app.Logs(), app.Paths().schedule,
                      SaveScheduleFile(app.Paths().schedule, app.ScheduleLines()));
  } else {
    // The submitted text stays on the page for correction; the file keeps the last good one.
    ctx.error_text = form_texts::kScriptHasErrors;
  }
  ctx.open_section = PageSection::kSchedule;
  return true;
}

}  // namespace chimewell
