#pragma once
// Turning the bytes of a schedule script file into its lines.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_list.h"
#include "core/text_encoding.h"

namespace chimewell {

// The file's lines as UTF-8: the bytes as they stand when they are valid UTF-8 (a leading byte
// order mark dropped), otherwise read as CP932 (Shift-JIS), as files of the Windows program are.
// Lines end at LF; a CR before it is dropped; a final line end makes no extra empty line.
LineList ScriptLinesFromBytes(std::string_view bytes);

// The schedule file's bytes: every line followed by CR LF.
std::string ScheduleFileText(const LineList& lines);

// Replaces the schedule file in one step, in the encoding it has (see ReplaceTextFile); throws
// FileWriteError (the old file then stays whole).
EncodingChange SaveScheduleFile(const std::filesystem::path& path, const LineList& lines);

}  // namespace chimewell
