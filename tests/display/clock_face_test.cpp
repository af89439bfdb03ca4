#include "display/clock_face.h"

#include <gtest/gtest.h>

#include "display/recording_canvas.h"
#include "support/fake_clock.h"

namespace chimewell {
namespace {

using testing::DrawCall;
using testing::RecordingCanvas;

TDateTime At(int hour, int minute, int second, int ms = 0) {
  return *TryEncodeDateTime({2024, 3, 15, hour, minute, second, ms});
}

class ClockFaceTest : public ::testing::Test {
 protected:
  // Draws at the given moment and returns only what that drawing did.
  std::vector<DrawCall> DrawAt(TDateTime t) {
    clock_.Set(t);
    canvas_.calls.clear();
    DrawClockFace(canvas_, settings_, state_, clock_, expand_);
    return canvas_.calls;
  }
  std::vector<DrawCall> Texts() const { return canvas_.Of(DrawCall::kText); }

  RecordingCanvas canvas_;
  ClockSettings settings_;
  ClockFaceState state_;
  chimewell::testing::FakeClock clock_;
  std::vector<TDateTime> expanded_at_;
  DateLineExpander expand_ = [this](std::string_view tmpl, TDateTime t) {
    expanded_at_.push_back(t);
    return "date:" + std::string(tmpl);
  };
};

TEST_F(ClockFaceTest, FirstDrawingFillsBackgroundThenDrawsEveryTextInItsPlace) {
  const auto calls = DrawAt(At(9, 5, 7));
  ASSERT_EQ(calls.size(), 5u);

  const DrawCall& fill = calls[0];
  EXPECT_EQ(fill.kind, DrawCall::kFill);
  EXPECT_EQ(std::tie(fill.x, fill.y, fill.x2, fill.y2), std::make_tuple(0, 0, 391, 260));
  EXPECT_EQ(fill.colour, settings_.BackColor);

  const DrawCall& date = calls[1];
  EXPECT_EQ(date.text, "date:[wa] [mon] [day] [wday]");
  EXPECT_EQ(std::tie(date.x, date.y), std::make_tuple(16, 16));
  EXPECT_EQ(date.font.size, 16);
  EXPECT_EQ(date.font.colour, settings_.DateColor);

  const DrawCall& hhmm = calls[2];
  EXPECT_EQ(hhmm.text, " 9:05 ");
  EXPECT_EQ(std::tie(hhmm.x, hhmm.y), std::make_tuple(8, 20));
  EXPECT_EQ(hhmm.font.size, 80);
  EXPECT_EQ(hhmm.font.colour, settings_.HHMM1Color);

  const DrawCall& marker = calls[3];
  EXPECT_EQ(marker.text, "am ");
  EXPECT_EQ(std::tie(marker.x, marker.y), std::make_tuple(8, 200));
  EXPECT_EQ(marker.font.size, 24);
  EXPECT_EQ(marker.font.colour, settings_.AMPM1Color);

  // "  7" is 3 bytes wide at 12 px each in the fake: it ends exactly at SecX.
  const DrawCall& sec = calls[4];
  EXPECT_EQ(sec.text, "  7 ");
  EXPECT_EQ(std::tie(sec.x, sec.y), std::make_tuple(300 - 3 * 12, 200));
  EXPECT_EQ(sec.font.size, 24);
  EXPECT_EQ(sec.font.colour, settings_.SecColor);

  for (const auto& text : Texts()) {
    EXPECT_EQ(text.font.background, settings_.BackColor) << text.text;
    EXPECT_FALSE(text.font.bold || text.font.italic) << text.text;
  }
  EXPECT_FALSE(state_.FullRedrawPending);
  EXPECT_EQ(state_.LastDrawnTime, At(9, 5, 7));
  EXPECT_EQ(expanded_at_, std::vector<TDateTime>{At(9, 5, 7)});
}

TEST_F(ClockFaceTest, WithinTheMinuteOnlyTheTimeTextsAreRepaintedInPlace) {
  DrawAt(At(9, 5, 7));
  const auto calls = DrawAt(At(9, 5, 8, 1));
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].text, " 9:05 ");
  EXPECT_EQ(calls[1].text, "am ");
  EXPECT_EQ(calls[2].text, "  8 ");
  EXPECT_EQ(expanded_at_.size(), 1u);
  EXPECT_EQ(state_.LastDrawnTime, At(9, 5, 8, 1));

  // A new minute brings the full drawing back; so does a request, within the minute.
  EXPECT_EQ(DrawAt(At(9, 6, 0)).size(), 5u);
  state_.FullRedrawPending = true;
  EXPECT_EQ(DrawAt(At(9, 6, 1)).size(), 5u);
  EXPECT_EQ(DrawAt(At(9, 6, 2)).size(), 3u);
}

TEST_F(ClockFaceTest, SameMinuteOfAnotherHourIsANewMinute) {
  DrawAt(At(9, 5, 7));
  EXPECT_EQ(DrawAt(At(10, 5, 7)).size(), 5u);
}

TEST_F(ClockFaceTest, NoonSwitchesToAfternoonColoursAndMarkerWithFullDrawing) {
  DrawAt(At(11, 59, 59));
  EXPECT_EQ(Texts()[1].text, "11:59 ");
  EXPECT_EQ(Texts()[2].text, "am ");

  const auto calls = DrawAt(At(12, 0, 0));
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].kind, DrawCall::kFill);
  const auto texts = Texts();
  EXPECT_EQ(texts[1].text, "12:00 ");
  EXPECT_EQ(texts[1].font.colour, settings_.HHMM2Color);
  EXPECT_EQ(texts[2].text, "pm ");
  EXPECT_EQ(texts[2].font.colour, settings_.AMPM2Color);
  EXPECT_EQ(texts[3].text, "  0 ");
}

TEST_F(ClockFaceTest, HourStaysOnTheTwentyFourHourCount) {
  DrawAt(At(15, 7, 42));
  EXPECT_EQ(Texts()[1].text, "15:07 ");
  EXPECT_EQ(Texts()[3].text, " 42 ");
  EXPECT_EQ(Texts()[3].x, 300 - 3 * 12);
  DrawAt(At(0, 0, 0));
  EXPECT_EQ(Texts()[1].text, " 0:00 ");
  EXPECT_EQ(Texts()[1].font.colour, settings_.HHMM1Color);
  EXPECT_EQ(Texts()[2].text, "am ");
}

TEST_F(ClockFaceTest, SecondsEndAtSecXWhateverTheirSize) {
  settings_.SecSize = 40;
  settings_.SecX = 250;
  DrawAt(At(9, 5, 59));
  EXPECT_EQ(Texts()[3].text, " 59 ");
  EXPECT_EQ(Texts()[3].x, 250 - 3 * 20);
}

TEST_F(ClockFaceTest, StyleBitsGoToTheirOwnTexts) {
  settings_.FontStyles = kDateItalic | kHHMMBold | kAMPMBold | kAMPMItalic | kSecItalic;
  DrawAt(At(9, 5, 7));
  const auto texts = Texts();
  auto style = [](const DrawCall& c) { return std::make_pair(c.font.bold, c.font.italic); };
  EXPECT_EQ(style(texts[0]), std::make_pair(false, true));
  EXPECT_EQ(style(texts[1]), std::make_pair(true, false));
  EXPECT_EQ(style(texts[2]), std::make_pair(true, true));
  EXPECT_EQ(style(texts[3]), std::make_pair(false, true));
}

TEST_F(ClockFaceTest, FacesFollowTheirNamesAndEmptyNamesKeepTheFaceSetLast) {
  // Both empty: every text in the canvas's own face.
  DrawAt(At(9, 5, 7));
  for (const auto& t : Texts()) EXPECT_EQ(t.font.face, "(default)");

  // Only the date face: the time texts follow it, in full and partial drawings alike.
  settings_.DateName = "IPAGothic";
  state_.DateCharset = 128;
  state_.FullRedrawPending = true;
  DrawAt(At(9, 5, 8));
  for (const auto& t : Texts()) {
    EXPECT_EQ(t.font.face, "IPAGothic");
    EXPECT_EQ(t.font.charset, 128);
  }
  DrawAt(At(9, 5, 9));
  for (const auto& t : Texts()) EXPECT_EQ(t.font.face, "IPAGothic");

  // Both: the digits use their own face and character set.
  settings_.DigitName = "DejaVu Sans Mono";
  state_.DigitCharset = 0;
  state_.FullRedrawPending = true;
  DrawAt(At(9, 5, 10));
  const auto texts = Texts();
  EXPECT_EQ(texts[0].font.face, "IPAGothic");
  for (size_t i = 1; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].font.face, "DejaVu Sans Mono");
    EXPECT_EQ(texts[i].font.charset, 0);
  }
}

TEST_F(ClockFaceTest, DebugGridShowsFromTheNextFullDrawing) {
  DrawAt(At(9, 5, 7));
  state_.DebugGrid = true;
  EXPECT_TRUE(DrawAt(At(9, 5, 8)).size() == 3u);

  const auto calls = DrawAt(At(9, 6, 0));
  ASSERT_EQ(calls[0].kind, DrawCall::kFill);
  const auto lines = canvas_.Of(DrawCall::kLine);
  // 391 x 260: 26 horizontal lines (y = 0..250), then 40 vertical (x = 0..390).
  ASSERT_EQ(lines.size(), 26u + 40u);
  for (int i = 0; i < 26; ++i) {
    const auto& l = lines[i];
    EXPECT_EQ(std::tie(l.x, l.y, l.x2, l.y2), std::make_tuple(0, i * 10, 390, i * 10));
    EXPECT_EQ(l.colour, i % 10 == 0 ? kGridMajorColour : kGridMinorColour) << "row " << i;
  }
  for (int i = 0; i < 40; ++i) {
    const auto& l = lines[26 + i];
    EXPECT_EQ(std::tie(l.x, l.y, l.x2, l.y2), std::make_tuple(i * 10, 0, i * 10, 259));
    EXPECT_EQ(l.colour, i % 10 == 0 ? kGridMajorColour : kGridMinorColour) << "column " << i;
  }
  // The grid lies under the texts: fill, lines, then the date.
  EXPECT_EQ(calls[1 + 66].kind, DrawCall::kText);
  EXPECT_EQ(kGridMajorColour & 0xFF, 0xFFu);  // red in the low byte
}

}  // namespace
}  // namespace chimewell
