#include <gtest/gtest.h>

#include "app/menu_state.h"
#include "app/message_panel.h"
#include "app/next_event_label.h"
#include "app/port_setting.h"
#include "app/status_line.h"

namespace chimewell {
namespace {

TEST(MessagePanel, StacksLinesAndStaysFiveSecondsAfterTheNewest) {
  MessagePanel panel;
  panel.Show("first", 1000);
  panel.Show("second", 4000);
  EXPECT_EQ(panel.Text(), "first\r\nsecond");
  EXPECT_FALSE(panel.HideIfExpired(8999));
  EXPECT_FALSE(panel.HideIfExpired(9000));
  EXPECT_TRUE(panel.HideIfExpired(9001));
  panel.Show("fresh", 9500);
  EXPECT_EQ(panel.Text(), "fresh");
}

TEST(MessagePanel, KeepsTheNewestTwentyLinesUnderACountOfTheRest) {
  MessagePanel panel;
  for (int i = 1; i <= 25; ++i) panel.Show("line " + std::to_string(i), 1000);
  std::string expected = "ほか 5 件";
  for (int i = 6; i <= 25; ++i) expected += "\r\nline " + std::to_string(i);
  EXPECT_EQ(panel.Text(), expected);
  // A message of several lines counts as that many, its trailing line end kept.
  panel.Show("A。\r\nB。\r\n", 1000);
  EXPECT_TRUE(panel.Text().starts_with("ほか 8 件\r\nline 9\r\n"));
  EXPECT_TRUE(panel.Text().ends_with("line 25\r\nA。\r\nB。\r\n"));
  // Once hidden, the next message starts a fresh panel.
  panel.Hide();
  panel.Show("\r\nnew", 2000);
  EXPECT_EQ(panel.Text(), "\r\nnew");
}

TEST(MessagePanel, DeadlineHoldsAcrossTheTickCountWrap) {
  MessagePanel panel;
  panel.Show("near the wrap", 0xFFFFF000u);  // deadline wraps to 0x00000388
  EXPECT_FALSE(panel.HideIfExpired(0xFFFFFF00u));
  EXPECT_FALSE(panel.HideIfExpired(0x00000100u));
  EXPECT_TRUE(panel.HideIfExpired(0x00000389u));
}

TEST(StatusLine, MarksComeInTheirOrderBeforeTheText) {
  MenuState menu;
  EXPECT_EQ(BuildStatusLine(menu, std::nullopt, "次は 12:00.00 の時報"), " 次は 12:00.00 の時報");
  menu.SetMuted(true);
  menu.SetPaused(true);
  EXPECT_EQ(BuildStatusLine(menu, std::nullopt, "次は 12:00.00 の時報"),
            "【消音】【一時停止】 次は 12:00.00 の時報");
  MenuState counting;
  counting.CheckCount(MenuItem::PM_TempCount15);
  EXPECT_EQ(BuildStatusLine(counting, "スケジュールはセットされていません", "ignored"),
            "【１５秒毎カウント】 スケジュールはセットされていません");
}

TDateTime Moment(int year, int month, int day, int h, int m, int s) {
  return *TryEncodeDateTime({year, month, day, h, m, s, 0});
}

TEST(NextEventLabel, TodayByTheSecondAnotherDayWithItsDateALongTextCutWithAMark) {
  const TDateTime today = Moment(2026, 12, 8, 8, 1, 0);
  TSchedule speak;
  speak.Msg = "おはようございます";
  TSchedule chime;
  chime.Cmd = ctTime;
  const struct {
    const TSchedule& entry;
    TDateTime nominal;
    const char* label;
  } cases[] = {
      {speak, Moment(2026, 12, 8, 12, 0, 0), "次は 12:00.00 『おはようございます』"},
      {speak, Moment(2026, 12, 9, 7, 59, 0), "次は 12/9 7:59 『おはようございます』"},
      {chime, Moment(2027, 1, 1, 0, 0, 30), "次は 1/1 0:00.30 の時報"},
  };
  const HolidayCalendar holidays;
  for (const auto& c : cases) {
    EXPECT_EQ(NextEventLabel(c.entry, c.nominal, today, holidays), c.label);
  }
  TSchedule long_text;
  long_text.Msg = std::string(45, 'a');
  EXPECT_EQ(NextEventLabel(long_text, today, today, holidays),
            "次は 08:01.00 『" + std::string(40, 'a') + "…』");
  EXPECT_EQ(CutWithMark("あいうえお", 5), "あいうえお");
  EXPECT_EQ(CutWithMark("あいうえおか", 5), "あいうえお…");
}

TEST(MenuState, CountItemsFormOneRadioGroup) {
  MenuState menu;
  EXPECT_TRUE(menu.IsChecked(MenuItem::PM_TempCountOff));
  EXPECT_EQ(menu.CountInterval(), 0);
  menu.CheckCount(MenuItem::PM_TempCount05);
  EXPECT_FALSE(menu.IsChecked(MenuItem::PM_TempCountOff));
  EXPECT_EQ(menu.CountInterval(), 5);
  menu.CheckCount(MenuItem::PM_Pause);  // not a count item: ignored
  EXPECT_EQ(menu.CountInterval(), 5);
  menu.CheckCount(MenuItem::PM_TempCount60);
  EXPECT_EQ(menu.CountInterval(), 60);
  EXPECT_FALSE(menu.IsChecked(MenuItem::PM_TempCount05));
}

TEST(PortSetting, AcceptsOnlyWholeNumbersFromOneTo65535) {
  EXPECT_EQ(ParsePortInput("8081"), 8081);
  EXPECT_EQ(ParsePortInput("65535"), 65535);
  EXPECT_EQ(ParsePortInput("1"), 1);
  for (const char* bad : {"0", "-5", "abc", "70000", "", "80 81", "8080x", "99999999999999"}) {
    EXPECT_FALSE(ParsePortInput(bad)) << bad;
  }
}

}  // namespace
}  // namespace chimewell
