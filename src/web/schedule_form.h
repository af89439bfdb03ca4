#pragma once
// The schedule forms of the configuration page: one line built from the structured fields, or
// the script text that replaces the whole schedule; and saving the script file.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_encoding.h"
#include "web/param_decoding.h"
#include "web/request_context.h"

namespace chimewell {

// Which schedule form a request carries, if any. (An SCHEADD whose SCHEARG is blank has been
// refused before the schedule forms are looked at.)
enum class ScheduleFormKind {
  kNone,
  kAddLine,        // SCHEADD (wins over SCHESET)
  kReplaceScript,  // SCHESET
};

ScheduleFormKind ChooseScheduleForm(const DecodedParams& params);

// The script line of an SCHEADD request: the command word, the quoted trimmed SCHEARG, the
// timing part, the repeat part (not for BGM) and the weekdays. Hours, minutes and counts are
// put in as sent; the script parser judges them.
std::string BuildScheduleLine(const DecodedParams& params);

// The lines of an SCHESET text, cut at CR LF, LF or CR; an empty text gives the one comment
// line that says there is no schedule.
LineList ScriptTextLines(std::string_view contents);

// The schedule file's bytes: every line followed by CR LF.
std::string ScheduleFileText(const LineList& lines);

// Replaces the schedule file in one step, in the encoding it has (see ReplaceTextFile); throws
// FileWriteError (the old file then stays whole).
EncodingChange SaveScheduleFile(const std::filesystem::path& path, const LineList& lines);

// The schedule forms step of the request handler: edits the script, clears all playback,
// reloads the entries, and saves the file when every line parsed. False without SCHEADD or
// SCHESET; a failed save throws FileWriteError.
bool HandleScheduleForm(RequestContext& ctx);

}  // namespace chimewell
