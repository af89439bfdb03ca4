// The clock-face form: colour fields, validation in the order of the form, and the settings
// a good form makes.
#include "web/clock_form.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

// Lines that the tests edit in place, handed to the form as decoded parameters.
struct Params : std::vector<std::string> {
  using std::vector<std::string>::vector;
  operator DecodedParams() const {
    DecodedParams params;
    for (const std::string& line : *this) params.Append(line);
    return params;
  }
};

// A form that passes every check.
Params GoodForm() {
  return {"DIGISET=1",
          "DATEFORMAT=[mon][day]",
          "DATEFONT=Noto Sans",
          "DATESIZE=20",
          "DATEX=1",
          "DATEY=2",
          "DIGITFONT=DejaVu",
          "HHMMSIZE=70",
          "HHMMX=3",
          "HHMMY=4",
          "AMPMSIZE=22",
          "AMPMX=5",
          "AMPMY=6",
          "SECSIZE=18",
          "SECX=7",
          "SECY=8",
          "BACKCOLOR=ff0000",
          "DATECOLOR=00FF00",
          "HHMM1COLOR=0000ff",
          "HHMM2COLOR=123456",
          "AMPM1COLOR=",
          "AMPM2COLOR=abcdef",
          "SECCOLOR=FF00001234"};
}

// The good form with `name` set to `value` (or added).
Params With(Params params, const std::string& name, const std::string& value) {
  for (auto& line : params) {
    if (line.starts_with(name + "=")) {
      line = name + "=" + value;
      return params;
    }
  }
  params.push_back(name + "=" + value);
  return params;
}

TEST(ColourHexTest, ReadsUpToSixHexDigits) {
  EXPECT_EQ(ParseColourHex("ff0000"), 0xFF0000);
  EXPECT_EQ(ParseColourHex("FF00001234"), 0xFF0000);
  EXPECT_EQ(ParseColourHex("FF0000zz"), 0xFF0000);
  EXPECT_EQ(ParseColourHex("aBc"), 0xABC);
  EXPECT_EQ(ParseColourHex(""), 0);
  EXPECT_EQ(ParseColourHex("#FF0000"), -1);
  EXPECT_EQ(ParseColourHex("12345g"), -1);
  EXPECT_EQ(ParseColourHex(" 00000"), -1);
}

TEST(ClockFormTest, GoodFormMakesTheStoredSettings) {
  const ClockSettings current;
  const ClockFormResult r = ReadClockForm(With(GoodForm(), "DATECHECK", "TRUE"), current);
  ASSERT_EQ(r.problems, "");
  const ClockSettings& s = r.settings;
  EXPECT_EQ(s.DateFormat, "[mon][day]");
  EXPECT_EQ(s.DateName, "Noto Sans");
  EXPECT_TRUE(r.date_font_changed);
  // DIGITCHECK absent: the digit font keeps its name whatever the field holds.
  EXPECT_EQ(s.DigitName, current.DigitName);
  EXPECT_FALSE(r.digit_font_changed);
  EXPECT_EQ((std::array{s.DateSize, s.DateX, s.DateY, s.HHMMSize, s.HHMMX, s.HHMMY, s.AMPMSize,
                        s.AMPMX, s.AMPMY, s.SecSize, s.SecX, s.SecY}),
            (std::array{20, 1, 2, 70, 3, 4, 22, 5, 6, 18, 7, 8}));
  // Colours are stored with red in the low byte.
  EXPECT_EQ(s.BackColor, 255u);
  EXPECT_EQ(s.DateColor, 0x00FF00u);
  EXPECT_EQ(s.HHMM1Color, 0xFF0000u);
  EXPECT_EQ(s.HHMM2Color, 0x563412u);
  EXPECT_EQ(s.AMPM1Color, 0u);  // an empty colour is black
  EXPECT_EQ(s.AMPM2Color, 0xEFCDABu);
  EXPECT_EQ(s.SecColor, 255u);  // FF00001234 reads as FF0000
  EXPECT_EQ(s.FontStyles, 0);
  EXPECT_FALSE(r.debug_grid);
}

TEST(ClockFormTest, StylesAndSwitches) {
  Params form = GoodForm();
  form = With(form, "DATEBOLD", "on");
  form = With(form, "AMPMITALIC", "x");
  form = With(form, "SECITALIC", "1");
  form = With(form, "HHMMBOLD", "");  // sent empty: absent
  form = With(form, "DEBUGGRID", "TRUE");
  ClockSettings current;
  current.FontStyles = kHHMMBold | kSecBold;
  const ClockFormResult r = ReadClockForm(form, current);
  ASSERT_EQ(r.problems, "");
  EXPECT_EQ(r.settings.FontStyles, kDateBold | kAMPMItalic | kSecItalic);
  EXPECT_TRUE(r.debug_grid);
  EXPECT_FALSE(ReadClockForm(With(GoodForm(), "DEBUGGRID", "true"), current).debug_grid);
}

TEST(ClockFormTest, FontChangesOnlyWithItsCheckboxAndANewName) {
  ClockSettings current;
  current.DateName = "Noto Sans";
  current.DigitName = "Old";
  Params form = With(With(GoodForm(), "DATECHECK", "TRUE"), "DIGITCHECK", "TRUE");
  const ClockFormResult r = ReadClockForm(form, current);
  EXPECT_FALSE(r.date_font_changed);  // same name
  EXPECT_TRUE(r.digit_font_changed);
  EXPECT_EQ(r.settings.DigitName, "DejaVu");

  // Only the sizes change: neither option list is touched.
  const ClockFormResult sizes = ReadClockForm(With(GoodForm(), "SECSIZE", "40"), current);
  EXPECT_FALSE(sizes.date_font_changed || sizes.digit_font_changed);
  EXPECT_EQ(sizes.settings.DateName, "Noto Sans");
}

TEST(ClockFormTest, ProblemsAreListedInTheOrderOfTheForm) {
  const ClockSettings current;
  EXPECT_EQ(ReadClockForm(With(GoodForm(), "DATESIZE", ""), current).problems,
            "日付フォントの指定に問題があります<BR>\r\n");
  // Lower-case "true" is not on, so the empty font does not matter.
  EXPECT_EQ(
      ReadClockForm(With(With(GoodForm(), "DATECHECK", "true"), "DATEFONT", ""), current).problems,
      "");
  EXPECT_EQ(
      ReadClockForm(With(With(GoodForm(), "DATECHECK", "TRUE"), "DATEFONT", ""), current).problems,
      "日付フォントの指定に問題があります<BR>\r\n");
  EXPECT_EQ(ReadClockForm(With(With(GoodForm(), "DIGITCHECK", "TRUE"), "DIGITFONT", ""), current)
                .problems,
            "時刻フォントの指定に問題があります<BR>\r\n");

  Params bad = GoodForm();
  bad = With(bad, "SECCOLOR", "#FF0000");
  bad = With(bad, "BACKCOLOR", "xyz");
  bad = With(bad, "HHMMY", "-1");
  bad = With(bad, "DATEFORMAT", "");
  bad = With(bad, "AMPMSIZE", "0");
  const ClockFormResult r = ReadClockForm(bad, current);
  EXPECT_EQ(r.problems,
            "日付フォーマット指定に問題があります<BR>\r\n"
            "時分位置指定がマイナスです<BR>\r\n"
            "AMPMフォントの指定に問題があります<BR>\r\n"
            "色指定に問題があります<BR>\r\n");
  EXPECT_EQ(r.settings, current);  // nothing of a bad form is applied

  Params positions = GoodForm();
  positions = With(positions, "DATEX", "-3");
  positions = With(positions, "AMPMX", "abc");
  positions = With(positions, "SECY", "1.5");
  EXPECT_EQ(ReadClockForm(positions, current).problems,
            "日付位置指定がマイナスです<BR>\r\n"
            "AMPM位置指定がマイナスです<BR>\r\n"
            "秒位置指定がマイナスです<BR>\r\n");
  EXPECT_EQ(ReadClockForm(With(GoodForm(), "SECSIZE", "0"), current).problems,
            "秒フォントの指定に問題があります<BR>\r\n");
}

}  // namespace
}  // namespace chimewell
