#include "web/jiho_form.h"

#include <algorithm>
#include <vector>

#include "app/application.h"
#include "core/ascii_text.h"
#include "core/settings_store.h"
#include "core/text_encoding.h"
#include "web/error_text.h"
#include "web/handler_texts.h"

namespace chimewell {
namespace {

std::string Numbered(std::string_view name, int n) { return std::string(name) + std::to_string(n); }

}  // namespace

std::array<std::string, kRecentFolderCount> UpdateRecentFolders(
    const std::array<std::string, kRecentFolderCount>& old_folders, const std::string& folder) {
  std::array<std::string, kRecentFolderCount> updated;
  updated[0] = folder;
  size_t count = 1;
  const std::string wanted = AsciiLowerCopy(folder);
  for (const std::string& old : old_folders) {
    if (count == updated.size()) break;
    if (!old.empty() && AsciiLowerCopy(old) != wanted) updated[count++] = old;
  }
  return updated;
}

bool HandleJihoForm(RequestContext& ctx) {
  if (!ctx.Has("JIHOSET")) return false;
  const std::string& settings_file = ctx.app.Paths().settings;
  // Every other [Jiho] value is written as the form sends it; the recent folders come from
  // the file as it stands.
  JihoSettings jiho = ReadJihoSettings(settings_file);
  jiho.Type = ctx.IntParam("JIHOTYPE", 0);
  jiho.MLVC = ctx.IntParam("JIHOMLVC", 0);
  jiho.Folder = ctx.Param("JIHOFDRSEL") == "1" ? ctx.Param("JIHOLAST") : ctx.Param("JIHOFDR");
  jiho.Format = ctx.Param("JIHOFORMAT");
  jiho.ErrorView = ctx.Param("JIHOERROR") == "1";
  jiho.LastFolder = UpdateRecentFolders(jiho.LastFolder, jiho.Folder);
  for (int n = 1; n <= kAddOnCount; ++n) {
    jiho.AddOn[n - 1] = ctx.Param(Numbered("JIHOADDON", n));
    jiho.AddOff[n - 1] = ctx.Param(Numbered("JIHOADDOFF", n));
  }
  LogEncodingChange(ctx.app.Logs(), settings_file, WriteJihoSettings(settings_file, jiho));

  const std::string report = ctx.app.ReloadTimeSignal();
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
