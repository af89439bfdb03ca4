// The user's days off as the application keeps them: read at start, replaced by an edit,
// written back in the encoding the file has.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "core/text_encoding.h"
#include "support/temp_dir.h"

namespace chimewell::testing {
namespace {

using Holidays = AppTest;

TEST_F(Holidays, AFileFromTheWindowsProgramIsReadAndWrittenBackInItsEncoding) {
  WriteFile("chimewell.hol", *Utf8ToCp932("# 会社の休み\r\n08/13 夏季休業\r\n"));
  Start();
  ASSERT_EQ(app->HolidayLines().size(), 2u);
  EXPECT_EQ(app->HolidayLines()[1], "08/13 夏季休業");

  EXPECT_TRUE(app->ReplaceHolidays({"# 会社の休み", "08/14 夏季休業"}).empty());
  EXPECT_EQ(ReadBytes(dir / "chimewell.hol"), *Utf8ToCp932("# 会社の休み\r\n08/14 夏季休業\r\n"));
  EXPECT_EQ(app->HolidayLines()[1], "08/14 夏季休業");
}

TEST_F(Holidays, AtStartTheGoodLinesCountAndEachBadOneIsShown) {
  WriteFile("chimewell.hol", "12/07 創立記念日\r\n13/45 ない日\r\n");
  WriteFile("chimewell.sch", "Speak 昼 At 11:30 NoHoliday\r\n");
  Start();
  EXPECT_NE(view.panel_text.find("休日ファイルの 2行目にエラーがあります：'13/45'"), std::string::npos)
      << view.panel_text;
  ASSERT_EQ(app->Holidays().UserDays().size(), 1u);
  // Today, Monday the 7th, is a day off: the entry waits for tomorrow.
  EXPECT_EQ(FormatDateTime("mm/dd hh:nn", app->ScheduleData().ScheduleEntries()[0].NextTime),
            "12/08 11:29");
}

}  // namespace
}  // namespace chimewell::testing
