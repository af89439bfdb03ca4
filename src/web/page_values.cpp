#include "web/page_values.h"

#include <array>

#include "core/html_escape.h"
#include "web/access_texts.h"
#include "web/clock_colour_fields.h"
#include "web/colour_table.h"
#include "web/page_option_lists.h"
#include "web/page_texts.h"
#include "web/quiet_fields.h"

namespace chimewell {
namespace {

constexpr std::string_view kShowBlock = " style=\"display:block\"";

std::string Key(std::string_view name) { return "$!" + std::string(name) + "!$"; }

// name0, name1, ...: `mark` in the one numbered `chosen`, empty in the others.
void AddChoice(ReplacementList& list, std::string_view name, int count, int chosen,
               std::string_view mark = "checked") {
  for (int i = 0; i < count; ++i) {
    list.Add(Key(std::string(name) + std::to_string(i)), i == chosen ? mark : "");
  }
}

void AddNumber(ReplacementList& list, std::string_view name, int value) {
  list.Add(Key(name), std::to_string(value));
}

void AddText(ReplacementList& list, std::string_view name, std::string_view text) {
  list.Add(Key(name), HtmlEscape(text));
}

bool AnyNonEmpty(const std::array<std::string, kAddOnCount>& texts) {
  for (const auto& text : texts) {
    if (!text.empty()) return true;
  }
  return false;
}

void AddAddOnTable(ReplacementList& list, AddOnKind kind, std::string_view name,
                   const std::array<std::string, kAddOnCount>& texts) {
  list.Add(Key(name), BuildAddOnTable(kind, texts));
  list.Add(Key("OPEN" + std::string(name)),
           AnyNonEmpty(texts) ? " style=\"display:block\"" : " style=\"display:none\"");
}

struct ClockNumber {
  const char* name;
  int ClockSettings::*field;
};
constexpr std::array<ClockNumber, 12> kClockNumbers = {{
    {"DATESIZE", &ClockSettings::DateSize},
    {"DATEX", &ClockSettings::DateX},
    {"DATEY", &ClockSettings::DateY},
    {"HHMMSIZE", &ClockSettings::HHMMSize},
    {"HHMMX", &ClockSettings::HHMMX},
    {"HHMMY", &ClockSettings::HHMMY},
    {"AMPMSIZE", &ClockSettings::AMPMSize},
    {"AMPMX", &ClockSettings::AMPMX},
    {"AMPMY", &ClockSettings::AMPMY},
    {"SECSIZE", &ClockSettings::SecSize},
    {"SECX", &ClockSettings::SecX},
    {"SECY", &ClockSettings::SecY},
}};

// In the order of the style bits, DateBold = bit 0.
constexpr std::array<const char*, 8> kStyleNames = {
    "DATEBOLD", "DATEITALIC", "HHMMBOLD", "HHMMITALIC",
    "AMPMBOLD", "AMPMITALIC", "SECBOLD",  "SECITALIC",
};

// The second-count choices, tested in this order; none of them matching means "off".
constexpr std::array<int, 5> kCountIntervals = {5, 10, 15, 30, 60};

void AddCountChoice(ReplacementList& list, int interval) {
  int chosen = 0;
  for (size_t i = 0; i < kCountIntervals.size(); ++i) {
    if (kCountIntervals[i] == interval) {
      chosen = static_cast<int>(i) + 1;
      break;
    }
  }
  static constexpr std::array<const char*, 6> kNames = {"CHECKED00", "CHECKED05", "CHECKED10",
                                                        "CHECKED15", "CHECKED30", "CHECKED60"};
  for (int i = 0; i < 6; ++i) list.Add(Key(kNames[i]), i == chosen ? "checked" : "");
}

std::string LastFileText(std::optional<std::string_view> path) {
  if (!path) return {};
  return page_texts::kLastFileOpen + HtmlEscape(*path) + page_texts::kLastFileClose;
}

template <typename Lines>
void AppendEscapedLines(std::string& out, const Lines& lines) {
  for (const std::string_view line : lines) {
    AppendHtmlEscaped(out, line);
    out += "\r\n";
  }
}

}  // namespace

void AddSectionOpen(ReplacementList& list, PageSection section) {
  static constexpr std::array<const char*, 5> kMarks = {"$!OPENSCHEFORM!$", "$!OPENBASEFORM!$",
                                                        "$!OPENJIHOFORM!$", "$!OPENDIGIFORM!$",
                                                        "$!OPENTESTCFG!$"};
  list.Add(kMarks[static_cast<size_t>(section)], kShowBlock);
}

std::string BuildErrorBlock(std::string_view error_text, ProblemHeading heading) {
  if (error_text.empty()) return {};
  const char* head = page_texts::kErrorHeading;
  if (heading == ProblemHeading::kFound) head = page_texts::kProblemHeading;
  if (heading == ProblemHeading::kSavedWithProblems) head = page_texts::kSavedWithProblemsHeading;
  return head + std::string(error_text) + page_texts::kErrorTail;
}

std::string BuildMessageArea(const PageMessages& messages) {
  std::string area;
  if (!messages.lasting.empty()) {
    area += page_texts::kLastingHead;
    for (const std::string& line : messages.lasting) {
      area += "<LI>";
      AppendHtmlEscaped(area, line);
      area += "</LI>";
    }
    area += page_texts::kLastingTail;
  }
  area += BuildErrorBlock(messages.problems, messages.heading);
  if (!messages.notices.empty()) {
    area += page_texts::kNoticeHead + std::string(messages.notices) + page_texts::kNoticeTail;
  }
  return area;
}

void AppendSettingsValues(ReplacementList& list, const PageSettingsValues& v) {
  AddText(list, "DOCUMENT", v.document_url);
  AddText(list, "COPYRIGHT", v.version_text);
  AddNumber(list, "CONTROWS", static_cast<int>(v.schedule_lines.size()) + 2);
  std::string script;
  AppendEscapedLines(script, v.schedule_lines);
  list.Add("$!CONTSTR!$", script);
  list.Add("$!SCHETOKEN!$", v.add_token);
  const LineList no_lines;
  const LineList& holiday_lines = v.holiday_lines ? *v.holiday_lines : no_lines;
  AddNumber(list, "HOLIROWS", static_cast<int>(holiday_lines.size()) + 2);
  std::string holidays;
  AppendEscapedLines(holidays, holiday_lines);
  list.Add("$!HOLISTR!$", holidays);

  AddChoice(list, "ICONICSTART", 2, v.config.IconicStart ? 1 : 0);
  AddChoice(list, "TRAYDBL", 3, v.config.DoubleClick);
  AddChoice(list, "LIPSVIEW", 2, v.config.LipsView ? 1 : 0);
  list.Add("$!AUTOSTART!$", v.starts_at_login ? "checked" : "");
  AddNumber(list, "SPEAKOFFSET", v.config.SpeakOffset);
  AddNumber(list, "MIDIVOLUME", v.config.DefaultVolume);
  AddNumber(list, "MIDIBACK", v.config.BackVolume);
  AddNumber(list, "LATELIMIT", v.config.LateLimit);
  AppendQuietValues(list, v.config);
  AppendBusyUnwatchedNote(list, v.busy_unwatched);

  const JihoSettings& jiho = v.jiho;
  AddText(list, "JIHOFORMAT", jiho.Format);
  AddChoice(list, "JIHOERROR", 2, jiho.ErrorView ? 1 : 0);
  AddChoice(list, "JIHOTYPE", 6, jiho.Type >= 0 && jiho.Type <= 5 ? jiho.Type : 0);
  list.Add("$!OPENJIHOMLVC!$", jiho.Type == 3 ? "" : " style=\"display:none\"");
  AddChoice(list, "JIHOMLVC", 11, jiho.MLVC >= 1 && jiho.MLVC <= 10 ? jiho.MLVC : 0);
  AddAddOnTable(list, AddOnKind::kAddOn, "JIHOADDON", jiho.AddOn);
  AddAddOnTable(list, AddOnKind::kAddOff, "JIHOADDOFF", jiho.AddOff);
  AddChoice(list, "JIHOFDRSEL", 2, jiho.Folder.empty() ? 0 : 1, "CHECKED");
  AddText(list, "JIHOFDR", jiho.Folder);
  list.Add("$!JIHOLASTS!$", BuildRecentFolderOptions(jiho.LastFolder, jiho.Folder));

  const ClockSettings& clock = v.clock;
  list.Add("$!DEBUGGRID!$", v.debug_grid ? "checked" : "");
  list.Add("$!DATEFONTNAMES!$", v.date_font_options);
  list.Add("$!DIGITFONTNAMES!$", v.digit_font_options);
  AddText(list, "DATEFORMAT", clock.DateFormat);
  for (size_t i = 0; i < kColourTargetCount; ++i) {
    list.Add(Key(std::string(kClockColourFields[i].name) + "S"), v.colour_grids[i]);
  }
  for (const ClockColourField& colour : kClockColourFields) {
    const std::string hex = RgbHex(SwapRedBlue(clock.*colour.field));
    list.Add(Key(colour.name), hex);
    list.Add(Key(std::string(colour.name) + "VAL"), "#" + hex);
  }
  for (const ClockNumber& number : kClockNumbers) AddNumber(list, number.name, clock.*number.field);
  for (size_t bit = 0; bit < kStyleNames.size(); ++bit) {
    list.Add(Key(kStyleNames[bit]), (clock.FontStyles >> bit) & 1 ? " checked" : "");
  }

  AddCountChoice(list, v.count_interval);
  list.Add("$!PAUSECLICK!$", v.paused ? "?PAUSE=0" : "?PAUSE=1");
  list.Add("$!PAUSELABEL!$", std::string(page_texts::kPause) +
                                 (v.paused ? page_texts::kPauseResume : "") + page_texts::kDo);
  list.Add("$!MUTECLICK!$", v.muted ? "?MUTE=0" : "?MUTE=1");
  list.Add("$!MUTELABEL!$", std::string(page_texts::kMute) +
                                (v.muted ? page_texts::kMuteRelease : "") + page_texts::kDo);
  list.Add("$!ACCESSPASSWORD!$",
           v.access_password_set ? access_texts::kPasswordSet : access_texts::kPasswordNotSet);
}

void AppendTestValues(ReplacementList& list, const TestFieldValues& v) {
  const std::string date = FormatDateTime("yyyy/mm/dd", v.now);
  const std::string time = FormatDateTime("hh:nn.ss", v.now);
  AddText(list, "JIHOSTR", v.sent_jiho_str.value_or(v.jiho_format));
  list.Add("$!JIHODATE!$", date);
  list.Add("$!JIHOTIME!$", time);
  AddText(list, "MSGSTR", v.sent_msg_str.value_or(page_texts::kDefaultTestMessage));
  list.Add("$!MSGDATE!$", date);
  list.Add("$!MSGTIME!$", time);
  list.Add("$!WAVEFILE!$", LastFileText(v.wave_file));
  list.Add("$!MIDIFILE!$", LastFileText(v.midi_file));
}

std::string BuildDebugBlock(const DebugInfo& info) {
  std::string out = "<HR><B>DEBUG Info</B><BR>[RequestInfo.Command] ";
  AppendHtmlEscaped(out, info.command);
  out += "<BR>[RequestInfo.Document] ";
  AppendHtmlEscaped(out, info.document);
  out += "<BR>[RequestInfo.Header] ";
  AppendEscapedLines(out, info.header_lines);
  out += "<BR>[RequestInfo.UnparsedParams]<BR><PRE>";
  AppendHtmlEscaped(out, info.unparsed_params);
  out += "</PRE><BR>[Log]<PRE>";
  AppendEscapedLines(out, info.log_lines);
  out += "</PRE>";
  return out;
}

void AppendPageValues(ReplacementList& list, const PageMessages& messages,
                      const PageSettingsValues& settings, const TestFieldValues& tests,
                      const DebugInfo* debug) {
  list.Add("$!ERRORMSG!$", BuildMessageArea(messages));
  AppendSettingsValues(list, settings);
  AppendTestValues(list, tests);
  list.Add("$!DEBUG!$", debug ? BuildDebugBlock(*debug) : std::string());
}

}  // namespace chimewell
