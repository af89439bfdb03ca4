#include "web/clock_form.h"

#include <array>

#include "app/application.h"
#include "core/text_encoding.h"
#include "web/clock_colour_fields.h"
#include "web/colour_table.h"
#include "web/form_fields.h"
#include "web/form_texts.h"
#include "web/page_cache.h"
#include "web/param_decoding.h"

namespace chimewell {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The style fields in the order of their flag bits.
constexpr std::array<std::string_view, 8> kStyleFields{"DATEBOLD",   "DATEITALIC", "HHMMBOLD",
                                                       "HHMMITALIC", "AMPMBOLD",   "AMPMITALIC",
                                                       "SECBOLD",    "SECITALIC"};

// The colour fields and the setting each fills.
// A size and position group of the form: the three fields and the settings they fill.
struct PlacedText {
  int size;
  int x;
  int y;
};

void AddProblem(std::string& problems, std::string_view part, std::string_view text) {
  problems.append(part).append(text);
}

}  // namespace

int ParseColourHex(std::string_view text) {
  int value = 0;
  for (const char c : text.substr(0, 6)) {
    const int digit = HexValue(c);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

ClockFormResult ReadClockForm(const DecodedParams& params, const ClockSettings& current) {
  const auto field = [&params](std::string_view name) { return GetParam(params, name); };
  const auto number = [&field](std::string_view name) { return FormInteger(field(name), -1); };
  const auto placed = [&number](std::string_view size, std::string_view x, std::string_view y) {
    return PlacedText{number(size), number(x), number(y)};
  };

  const std::string date_format = field("DATEFORMAT");
  const std::string date_font = field("DATEFONT");
  const bool date_check = field("DATECHECK") == "TRUE";
  const PlacedText date = placed("DATESIZE", "DATEX", "DATEY");
  const std::string digit_font = field("DIGITFONT");
  const bool digit_check = field("DIGITCHECK") == "TRUE";
  const PlacedText hhmm = placed("HHMMSIZE", "HHMMX", "HHMMY");
  const PlacedText ampm = placed("AMPMSIZE", "AMPMX", "AMPMY");
  const PlacedText sec = placed("SECSIZE", "SECX", "SECY");
  std::array<int, kClockColourFields.size()> colours{};
  for (size_t i = 0; i < kClockColourFields.size(); ++i) {
    colours[i] = ParseColourHex(field(kClockColourFields[i].name));
  }

  ClockFormResult result;
  result.settings = current;
  namespace t = form_texts;
  std::string& problems = result.problems;
  if (date.size < 1 || (date_check && date_font.empty()))
    AddProblem(problems, t::kDatePart, t::kBadFont);
  if (date_format.empty()) AddProblem(problems, t::kDatePart, t::kBadFormat);
  if (date.x < 0 || date.y < 0) AddProblem(problems, t::kDatePart, t::kNegativePosition);
  if (hhmm.size < 1 || (digit_check && digit_font.empty())) {
    AddProblem(problems, t::kDigitFontPart, t::kBadFont);
  }
  if (hhmm.x < 0 || hhmm.y < 0) AddProblem(problems, t::kDigitPositionPart, t::kNegativePosition);
  if (ampm.size < 1) AddProblem(problems, t::kAmPmPart, t::kBadFont);
  if (ampm.x < 0 || ampm.y < 0) AddProblem(problems, t::kAmPmPart, t::kNegativePosition);
  if (sec.size < 1) AddProblem(problems, t::kSecondsPart, t::kBadFont);
  if (sec.x < 0 || sec.y < 0) AddProblem(problems, t::kSecondsPart, t::kNegativePosition);
  for (const int colour : colours) {
    if (colour < 0) {
      AddProblem(problems, t::kColourPart, t::kBadColour);
      break;
    }
  }
  if (!problems.empty()) return result;

  ClockSettings& s = result.settings;
  result.debug_grid = field("DEBUGGRID") == "TRUE";
  if (date_check && date_font != s.DateName) {
    s.DateName = date_font;
    result.date_font_changed = true;
  }
  if (digit_check && digit_font != s.DigitName) {
    s.DigitName = digit_font;
    result.digit_font_changed = true;
  }
  s.DateFormat = date_format;
  s.DateSize = date.size;
  s.DateX = date.x;
  s.DateY = date.y;
  s.HHMMSize = hhmm.size;
  s.HHMMX = hhmm.x;
  s.HHMMY = hhmm.y;
  s.AMPMSize = ampm.size;
  s.AMPMX = ampm.x;
  s.AMPMY = ampm.y;
  s.SecSize = sec.size;
  s.SecX = sec.x;
  s.SecY = sec.y;
  for (size_t i = 0; i < kClockColourFields.size(); ++i) {
    s.*kClockColourFields[i].field = SwapRedBlue(static_cast<uint32_t>(colours[i]));
  }
  s.FontStyles = 0;
  for (size_t bit = 0; bit < kStyleFields.size(); ++bit) {
    if (IsPresent(params, kStyleFields[bit])) s.FontStyles |= static_cast<uint8_t>(1u << bit);
  }
  return result;
}

bool HandleClockForm(RequestContext& ctx) {
  if (!ctx.Has("DIGISET")) return false;
  Application& app = ctx.app;
  const ClockFormResult form = ReadClockForm(ctx.request.ParamList, app.ClockFace());
  ctx.error_text = form.problems;
  if (form.problems.empty()) {
    if (form.date_font_changed) {
      ctx.page.date_font_options = BuildFontOptionList(ctx.fonts, form.settings.DateName);
    }
    if (form.digit_font_changed) {
      ctx.page.digit_font_options = BuildFontOptionList(ctx.fonts, form.settings.DigitName);
    }
    app.ApplyClockSettings(form.settings, form.debug_grid);
  } else {
    app.RedrawClockFace();
  }
  ctx.open_section = PageSection::kDigi;
  return true;
}

}  // namespace chimewell
