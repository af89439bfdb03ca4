// The timetable forms as the page sends them: the calendar and a timetable saved all or
// nothing, today's timetable changed with one tap and back, and the day block that shows it.
#include <gmock/gmock.h>

#include <cctype>
#include <filesystem>

#include "web/handler_fixture.h"

namespace chimewell::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Encoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : text) {
    if (std::isalnum(c) != 0) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

class TimetableFormTest : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    WriteFile("chimewell.html", std::string(kHandlerTemplate) +
                                    "DAYS[$!TTDAYS!$]\nCAL[$!CALSTR!$]\nTT[$!TTEDITORS!$]\n");
  }
  std::string Calendar(const std::string& text) {
    return Get("/?CALSET=1&CALENDAR=" + Encoded(text));
  }
};

TEST_F(TimetableFormTest, ASchoolDayIsSetUpChangedForTodayAndBack) {
  // 2026/12/07 is a Monday, 11:00.
  std::string page = Calendar("平日 通常\n土 なし\n日課 通常 短縮\nげつ 通常\n");
  EXPECT_THAT(page, HasSubstr("日課の暦にエラーがあります"));
  EXPECT_THAT(page, HasSubstr("日課の暦の 4行目にエラーがあります：&#39;げつ&#39; は曜日"));
  EXPECT_THAT(page, HasSubstr("CAL[平日 通常\r\n"));  // kept for correction
  EXPECT_FALSE(std::filesystem::exists(dir / "chimewell.cal"));

  page = Calendar("平日 通常\n土 なし\n日 なし\n日課 短縮\n");
  EXPECT_THAT(page, HasSubstr("日課の暦を保存しました"));
  EXPECT_EQ(ReadBytes(dir / "chimewell.cal"), "平日 通常\r\n土 なし\r\n日 なし\r\n日課 短縮\r\n");

  page = Get("/?TTSET=1&TTNAME=" + Encoded("通常") +
             "&TTLINES=" + Encoded("Speak \"3時間目\" At 11:30\nSpeak \"昼休み\" At 25:00\n"));
  EXPECT_THAT(page, HasSubstr("日課「通常」のスクリプトの 2行目"));
  EXPECT_FALSE(std::filesystem::exists(dir / "chimewell.通常.sch"));
  page = Get("/?TTSET=1&TTNAME=" + Encoded("通常") +
             "&TTLINES=" + Encoded("Speak \"3時間目\" At 11:30\nSpeak \"昼休み\" At 12:20\n"));
  EXPECT_THAT(page, HasSubstr("日課「通常」を保存しました"));
  EXPECT_EQ(ReadBytes(dir / "chimewell.通常.sch"),
            "Speak \"3時間目\" At 11:30\r\nSpeak \"昼休み\" At 12:20\r\n");
  Get("/?TTSET=1&TTNAME=" + Encoded("短縮") +
      "&TTLINES=" + Encoded("Speak \"短縮です\" At 11:15\n"));
  EXPECT_EQ(view.status, " 次は 11:30.00 『3時間目』（通常）");
  EXPECT_THAT(page, HasSubstr("今日 12/7（月）: <b>通常</b>"));
  EXPECT_THAT(page, HasSubstr("<li>11:30 『3時間目』</li><li>12:20 『昼休み』</li>"));
  EXPECT_THAT(page, HasSubstr("明日 12/8（火）: <b>通常</b>"));

  page = Get("/?TTTODAY=" + Encoded("短縮"));
  EXPECT_THAT(page, HasSubstr("今日は「短縮」です（夜12時に元に戻ります）"));
  EXPECT_THAT(page, HasSubstr("今日 12/7（月）: <b>短縮</b>（今日だけ変更）"));
  EXPECT_THAT(page, HasSubstr("明日 12/8（火）: <b>通常</b>"));
  EXPECT_EQ(view.status, " 次は 11:15.00 『短縮です』（短縮）");
  EXPECT_EQ(SettingsValue("Timetable", "Today"), "2026/12/07 短縮");

  page = Get("/?TTTODAY=" + Encoded("集会"));
  EXPECT_THAT(page, HasSubstr("日課「集会」はありません"));
  EXPECT_EQ(view.status, " 次は 11:15.00 『短縮です』（短縮）");

  page = Get("/?TTREVERT=1");
  EXPECT_THAT(page, HasSubstr("今日 12/7（月）: <b>通常</b>"));
  EXPECT_THAT(page, Not(HasSubstr("今日だけ変更")));
  EXPECT_EQ(view.status, " 次は 11:30.00 『3時間目』（通常）");
}

TEST_F(TimetableFormTest, TodaysChangeOutlivesARestartButNotTheDay) {
  Calendar("平日 通常\n日課 短縮\n");
  Get("/?TTSET=1&TTNAME=" + Encoded("短縮") +
      "&TTLINES=" + Encoded("Speak \"短縮です\" At 11:15\n"));
  Get("/?TTTODAY=" + Encoded("短縮"));
  Start();  // the clock starts again the same day
  EXPECT_EQ(app->TimetableOn(clock.Now()), "短縮");
  clock.Set(At(8, 0, 0, 0, 8));
  Start();  // and the next day
  EXPECT_EQ(app->TimetableOn(clock.Now()), "通常");
}

}  // namespace
}  // namespace chimewell::testing
