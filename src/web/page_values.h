#pragma once
// The values of the configuration page's placeholders, appended to a ReplacementList in the
// order the request handler gives them.
//
// Escaping: every text that comes from the settings, a file or the request is HTML-escaped
// (see page_escape.h) before it is inserted: $!COPYRIGHT!$, $!DOCUMENT!$, $!CONTSTR!$, $!HOLISTR!$,
// $!JIHOFORMAT!$, $!JIHOFDR!$, $!DATEFORMAT!$, $!JIHOSTR!$, $!MSGSTR!$, the paths in
// $!WAVEFILE!$ and $!MIDIFILE!$, the texts and names inside $!JIHOADDON!$, $!JIHOADDOFF!$,
// $!JIHOLASTS!$, $!DATEFONTNAMES!$, $!DIGITFONTNAMES!$, and the request and log parts of
// $!DEBUG!$. Markup the program generates (option tags, tables, grids, "checked", style
// attributes, the error block's and debug block's tags) and numbers are inserted as they are.
// The problems in $!ERRORMSG!$ are HTML fragments made by the program; whoever puts a user's
// text into one escapes it there.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "core/line_list.h"
#include "core/settings.h"
#include "web/colour_grids.h"
#include "web/page_render.h"

namespace chimewell {

// The sections of the page, each opened by its own mark when its form was submitted.
enum class PageSection { kSchedule, kBase, kJiho, kDigi, kTest };

// "$!OPEN...!$" TAB " style=\"display:block\"" for the section.
void AddSectionOpen(ReplacementList& list, PageSection section);

// What heads a form's problems: whether its settings were saved.
enum class ProblemHeading {
  kNotSaved,           // the form was refused
  kFound,              // nothing was being saved (a test command)
  kSavedWithProblems,  // the settings were saved and then checked
};

// The red block that heads the page when a form had problems; empty for no problems.
std::string BuildErrorBlock(std::string_view error_text,
                            ProblemHeading heading = ProblemHeading::kNotSaved);

// What the page's message area ($!ERRORMSG!$) shows for a request.
struct PageMessages {
  std::string_view problems = {};  // the error text; empty for none
  ProblemHeading heading = ProblemHeading::kNotSaved;
  std::string_view notices = {};  // what the request did, to confirm it; empty for none
  // What keeps the clock from sounding now, one line each (program-made, shown escaped).
  std::span<const std::string> lasting = {};
};

// The clock's lasting problems, the request's problems' red block, then the notices; empty
// when there is none of them.
std::string BuildMessageArea(const PageMessages& messages);

// Where the configuration server answers with the user's guide; the page links to it.
inline constexpr const char* kGuideDocument = "/doc/index.html";

// What the settings-derived placeholders show; all of it owned by the application.
struct PageSettingsValues {
  const ConfigSettings& config;
  const JihoSettings& jiho;  // with LastFolder1..20 as read from the settings file just now
  const ClockSettings& clock;
  const LineList& schedule_lines;
  std::string_view version_text;
  std::string_view document_url;
  std::string_view date_font_options;   // BuildFontOptions for the date font
  std::string_view digit_font_options;  // BuildFontOptions for the digit font
  const ColourGrids& colour_grids;
  bool debug_grid = false;
  int count_interval = 0;  // second count: 5, 10, 15, 30, 60, or 0 when off
  bool paused = false;
  bool muted = false;
  bool starts_at_login = false;
  bool access_password_set = false;         // other machines may come in with the password
  std::string_view add_token = {};          // this page's add form's one-time token
  const LineList* holiday_lines = nullptr;  // the holiday file's lines; none: no lines
  // Why calls or Do Not Disturb cannot be watched, one reason each (program-made).
  std::span<const std::string> busy_unwatched = {};
};

// $!DOCUMENT!$ .. $!MUTELABEL!$, $!ACCESSPASSWORD!$, $!SCHETOKEN!$, $!HOLIROWS!$, $!HOLISTR!$.
void AppendSettingsValues(ReplacementList& list, const PageSettingsValues& values);

// What the test section's fields show.
struct TestFieldValues {
  std::string_view jiho_format;  // the stored time-signal format
  TDateTime now = 0;             // proposed date and time of both tests
  std::optional<std::string_view> sent_jiho_str = std::nullopt;  // JIHOSTR when JIHOTEST was sent
  std::optional<std::string_view> sent_msg_str = std::nullopt;   // MSGSTR when MSGTEST was sent
  std::optional<std::string_view> wave_file = std::nullopt;      // WAVEFILE when it was sent
  std::optional<std::string_view> midi_file = std::nullopt;      // MIDIFILE when it was sent
};

// $!JIHOSTR!$ .. $!MIDIFILE!$.
void AppendTestValues(ReplacementList& list, const TestFieldValues& values);

// The request as the debug block shows it.
struct DebugInfo {
  std::string_view command;
  std::string_view document;
  const std::vector<std::string>& header_lines;
  std::string_view unparsed_params;
  const std::vector<std::string>& log_lines;
};

std::string BuildDebugBlock(const DebugInfo& info);

// Every line after the section mark: $!ERRORMSG!$ (the message area), the settings values, the test
// values and $!DEBUG!$ (empty without `debug`).
void AppendPageValues(ReplacementList& list, const PageMessages& messages,
                      const PageSettingsValues& settings, const TestFieldValues& tests,
                      const DebugInfo* debug);

}  // namespace chimewell
