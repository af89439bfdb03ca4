#include "web/jiho_form.h"

#include <utility>

#include "app/application.h"
#include "web/error_text.h"
#include "web/handler_texts.h"

namespace chimewell {
namespace {

std::string Numbered(std::string_view name, int n) { return std::string(name) + std::to_string(n); }

}  // namespace

bool HandleJihoForm(RequestContext& ctx) {
  if (!ctx.Has("JIHOSET")) return false;
  // Every [Jiho] value but the recent folders is written as the form sends it.
  JihoSettings jiho;
  jiho.Type = ctx.IntParam("JIHOTYPE", 0);
  jiho.MLVC = ctx.IntParam("JIHOMLVC", 0);
  jiho.Folder = ctx.Param("JIHOFDRSEL") == "1" ? ctx.Param("JIHOLAST") : ctx.Param("JIHOFDR");
  jiho.Format = ctx.Param("JIHOFORMAT");
  jiho.ErrorView = ctx.Param("JIHOERROR") == "1";
  jiho.Chime = ctx.Param("JIHOCHIME");
  jiho.ChimeMode = ctx.Param("JIHOCHIMEMODE") == "1" ? 1 : 0;
  for (int n = 1; n <= kAddOnCount; ++n) {
    jiho.AddOn[n - 1] = ctx.Param(Numbered("JIHOADDON", n));
    jiho.AddOff[n - 1] = ctx.Param(Numbered("JIHOADDOFF", n));
  }
  const std::string report = ctx.app.ApplyTimeSignalSettings(std::move(jiho));
  if (!report.empty()) {
    // The report names the user's files; only its line breaks are markup. The settings were
    // saved before they were checked, and the heading says so.
    ctx.error_heading = ProblemHeading::kSavedWithProblems;
    ctx.error_text =
        std::string(handler_texts::kVoiceSettingsProblem) + EscapeReportKeepingBreaks(report);
  }
  ctx.open_section = PageSection::kJiho;
  return true;
}

}  // namespace chimewell
