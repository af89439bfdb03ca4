// chimewell-tool holidays as users call it: one line per holiday, the user's own days with
// --home, and one line on standard error with exit 2 for bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/text_encoding.h"
#include "support/temp_dir.h"
#include "timesignal/tool_runner.h"

namespace chimewell::testing {
namespace {

TEST(HolidaysTool, PrintsTheHolidaysOfTheRangeInDateOrder) {
  const ToolResult r = RunTool("holidays --from 2026/09/19 --until 2026/11/03");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "2026/09/21\t敬老の日\n2026/09/22\t国民の休日\n2026/09/23\t秋分の日\n"
            "2026/10/12\tスポーツの日\n2026/11/03\t文化の日\n");
  EXPECT_EQ(RunTool("holidays --from 2026/6/1 --until 2026/6/30").out, "");
}

// The Cabinet Office's list has 1067 days from 1955 to 2027, the very dates printed here (its
// 休日 are our 振替休日 and 国民の休日); after 2027 the days follow from the law's rules alone.
TEST(HolidaysTool, CountsOverTheDecades) {
  const auto lines = [](const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
  };
  EXPECT_EQ(lines(RunTool("holidays --from 1970/01/01 --until 2050/12/31").out), 1329);
  EXPECT_EQ(lines(RunTool("holidays --from 1955/01/01 --until 2027/12/31").out), 1067);
}

TEST(HolidaysTool, AddsTheUsersDaysAndTellsTheirBadLines) {
  TempDir home;
  // Written on Windows: CP932 with CR LF.
  WriteBytes(home / "chimewell.hol",
             *Utf8ToCp932("12/29 年末休暇\r\n2/30 ありえない日\r\n2026/12/28 仕事納め\r\n"
                          "5/3 創立記念日\r\n"));
  const ToolResult r = RunTool("holidays --from 2026/12/01 --until 2027/01/01 --home '" +
                               home.path().string() + "'");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "2026/12/28\t仕事納め\n2026/12/29\t年末休暇\n2027/01/01\t元日\n");
  EXPECT_EQ(r.err, "休日ファイルの 2行目にエラーがあります：'2/30' という日はありません\n");

  EXPECT_EQ(
      RunTool("holidays --from 2026/05/03 --until 2026/05/03 --home '" + home.path().string() + "'")
          .out,
      "2026/05/03\t創立記念日\n");
  TempDir empty_home;  // no holiday file: the national days alone
  EXPECT_EQ(RunTool("holidays --from 2026/05/03 --until 2026/05/03 --home '" +
                    empty_home.path().string() + "'")
                .out,
            "2026/05/03\t憲法記念日\n");
}

TEST(HolidaysTool, RefusesBadDatesWithOneLine) {
  for (const char* args :
       {"holidays --from 2026/02/30 --until 2026/12/31",
        "holidays --from 2026/01/01 --until 2026-12-31",
        "holidays --from 26/01/01 --until 2026/12/31",
        "holidays --from 2026/12/31 --until 2026/01/01", "holidays --from 2026/01/01",
        "holidays --until 2026/01/01", "holidays --from 2026/01/01 --until 2026/12/31 extra",
        "holidays --from ' 2026/01/01' --until 2026/12/31"}) {
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.exit_code, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
}

}  // namespace
}  // namespace chimewell::testing
