#pragma once
// The schedule forms of the configuration page: one line built from the structured fields, or
// the script text that replaces the whole schedule; and saving the script file.
#include <string>
#include <string_view>
#include <vector>

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
// timing part, the repeat part (not for BGM), the weekdays and the holiday option (SCHEHOLIDAY
// SKIP or ONLY). Hours, minutes and counts are
// put in as sent; the script parser judges them.
std::string BuildScheduleLine(const DecodedParams& params);

// The lines of an SCHESET text, cut at CR LF, LF or CR; an empty text gives the one comment
// line that says there is no schedule.
LineList ScriptTextLines(std::string_view contents);

// The schedule forms step of the request handler: the edited script replaces the running one
// when every line parses; otherwise nothing changes and the page shows the refused script with
// its problems. An addition whose token has added its line already adds nothing. False
// without SCHEADD or SCHESET; a failed save throws FileWriteError.
bool HandleScheduleForm(RequestContext& ctx);

}  // namespace chimewell
