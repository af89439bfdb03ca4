// chimewell-tool simulate as users call it: its lines, and one line and exit 2 for bad input.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temp_dir.h"
#include "timesignal/tool_runner.h"

namespace chimewell::testing {
namespace {

TEST(SimulateTool, PrintsTabSeparatedFiringsWithTheirOffsetAndWhatWasPassedOver) {
  TempDir home;
  std::ofstream(home / "chimewell.sch", std::ios::binary) << "Time \"[hour][min]\" ALL 0\r\n";
  const ToolResult r = RunTool("simulate --home '" + home.path().string() +
                               "' --tz Europe/Berlin --hidden --from '2026/03/29 01:30:00'"
                               " --until '2026/03/29 04:30:00'"
                               " --suspend '2026/03/29 03:30:00' 1830 --late-limit 0");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "2026/03/29 01:59:59.500+01:00\ttime\t3時\n"
            "2026/03/29 03:59:59.500+02:00\ttime\tskipped 時間切れ\t4時\n");
}

TEST(SimulateTool, BusyTimesHoldFiringsAndQuietHoursComeFromTheSettings) {
  TempDir home;
  std::ofstream(home / "chimewell.sch", std::ios::binary) << "Time \"[hour][min][sec]\" ALL 0\r\n";
  std::ofstream(home / "chimewell.ini", std::ios::binary)
      << "[Config]\r\nQuietFrom=14:00\r\nQuietTo=15:00\r\n";
  const ToolResult r = RunTool("simulate --home '" + home.path().string() +
                               "' --tz Asia/Tokyo --hidden --from '2026/12/07 11:30:00'"
                               " --until '2026/12/07 15:30:00'"
                               " --busy '2026/12/07 11:59:00' '2026/12/07 12:00:30'"
                               " --dnd '2026/12/07 12:59:00' '2026/12/07 13:05:00'");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "2026/12/07 12:00:30.000+09:00\ttime\t12時30秒\n"
            "2026/12/07 12:59:59.500+09:00\ttime\tskipped おやすみモード\t1時\n"
            "2026/12/07 13:59:59.500+09:00\ttime\tskipped 静かな時間\t2時\n"
            "2026/12/07 14:59:59.500+09:00\ttime\t3時\n");
  // The count inside the quiet hours is skipped too, second by second.
  const ToolResult counted = RunTool("simulate --home '" + home.path().string() +
                                     "' --tz Asia/Tokyo --hidden --count 30"
                                     " --from '2026/12/07 14:59:00' --until '2026/12/07 15:00:10'");
  EXPECT_EQ(counted.out,
            "2026/12/07 14:59:29.500+09:00\tcount\tskipped 静かな時間\t30秒\n"
            "2026/12/07 14:59:59.500+09:00\ttime\t3時\n"
            "2026/12/07 14:59:59.500+09:00\tcount\t3時\n");
}

TEST(SimulateTool, TimetablesFollowTheCalendarAndADayChangedOnThePageEndsAtMidnight) {
  TempDir home;
  std::ofstream(home / "chimewell.sch", std::ios::binary) << "Speak \"毎日\" At 7:00\r\n";
  std::ofstream(home / "chimewell.cal", std::ios::binary)
      << "日課 短縮\n平日 通常\n土 なし\n日 なし\n2026/12/10 なし\n";
  std::ofstream(home / "chimewell.通常.sch", std::ios::binary) << "Wave \"tone-880\" At 8:50\r\n";
  std::ofstream(home / "chimewell.短縮.sch", std::ios::binary) << "Speak \"短縮です\" At 8:40\r\n";
  const std::string run = "simulate --home '" + home.path().string() +
                          "' --tz Asia/Tokyo --from '2026/12/08 06:00:00'"
                          " --until '2026/12/11 09:00:00'";
  // Tuesday and Wednesday run 通常, Thursday none, Friday 通常 again.
  ToolResult r = RunTool(run);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "2026/12/08 06:59:59.500+09:00\tspeak\t毎日\n"
            "2026/12/08 08:50:00.000+09:00\twave\t" + std::string(CHIMEWELL_CHIMES) +
                "/tone-880.wav\n"
            "2026/12/09 06:59:59.500+09:00\tspeak\t毎日\n"
            "2026/12/09 08:50:00.000+09:00\twave\t" + std::string(CHIMEWELL_CHIMES) +
                "/tone-880.wav\n"
            "2026/12/10 06:59:59.500+09:00\tspeak\t毎日\n"
            "2026/12/11 06:59:59.500+09:00\tspeak\t毎日\n"
            "2026/12/11 08:50:00.000+09:00\twave\t" + std::string(CHIMEWELL_CHIMES) +
                "/tone-880.wav\n");
  // 「今日は 短縮」 on Tuesday: Wednesday is 通常 again.
  r = RunTool(run + " --until '2026/12/09 09:00:00' --today 短縮");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "2026/12/08 06:59:59.500+09:00\tspeak\t毎日\n"
            "2026/12/08 08:39:59.500+09:00\tspeak\t短縮です\n"
            "2026/12/09 06:59:59.500+09:00\tspeak\t毎日\n"
            "2026/12/09 08:50:00.000+09:00\twave\t" + std::string(CHIMEWELL_CHIMES) +
                "/tone-880.wav\n");
  r = RunTool(run + " --today 集会");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("集会"), std::string::npos);
}

TEST(SimulateTool, ATimetablesDayIsTheShownDateAcrossADaylightSavingChange) {
  TempDir home;
  std::ofstream(home / "chimewell.cal", std::ios::binary) << "日 夜\n月 通常\n";
  std::ofstream(home / "chimewell.夜.sch", std::ios::binary)
      << "Speak \"夜\" At 2:30\r\nSpeak \"深夜\" At 23:30\r\n";
  std::ofstream(home / "chimewell.通常.sch", std::ios::binary) << "Speak \"朝\" At 0:30\r\n";
  const ToolResult r = RunTool("simulate --home '" + home.path().string() +
                               "' --tz Europe/Berlin --hidden --from '2026/03/28 12:00:00'"
                               " --until '2026/03/30 12:00:00'");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // Sunday's 2:30 is skipped by the clock: it plays as the clock jumps over it (SpeakOffset
  // ahead, as ever). Sunday is 23 hours long, and Monday's timetable begins at its midnight.
  EXPECT_EQ(r.out,
            "2026/03/29 01:59:59.500+01:00\tspeak\t夜\n"
            "2026/03/29 23:29:59.500+02:00\tspeak\t深夜\n"
            "2026/03/30 00:29:59.500+02:00\tspeak\t朝\n");
}

TEST(SimulateTool, TheTimeSignalsChimeMarksTheHourAndTheTimeIsSpokenAfterIt) {
  TempDir home;
  std::ofstream(home / "chimewell.sch", std::ios::binary) << "Time \"[hour][min]\" At 9:00\r\n";
  const std::string run = "simulate --home '" + home.path().string() +
                          "' --tz Asia/Tokyo --hidden --from '2026/12/08 08:00:00'"
                          " --until '2026/12/08 09:30:00'";
  const std::string pips = std::string(CHIMEWELL_CHIMES) + "/pips.wav";
  std::ofstream(home / "chimewell.ini", std::ios::binary) << "[Jiho]\r\nChime=pips\r\n";
  ToolResult r = RunTool(run);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // The 880 Hz tone on the hour; the spoken time once the chime has rung out (3 s) and the
  // worker has rested.
  EXPECT_TRUE(r.out.starts_with("2026/12/08 09:00:00.000+09:00\twave\t" + pips + "\n"
                                "2026/12/08 09:00:04.")) << r.out;
  EXPECT_TRUE(r.out.ends_with("+09:00\ttime\t9時\n")) << r.out;
  std::ofstream(home / "chimewell.ini", std::ios::binary)
      << "[Jiho]\r\nChime=pips\r\nChimeMode=1\r\n";
  r = RunTool(run);
  EXPECT_EQ(r.out, "2026/12/08 09:00:00.000+09:00\twave\t" + pips + "\n");
}

TEST(SimulateTool, BadInputGivesOneLineAndExitTwo) {
  TempDir home;
  const std::string at = " --home '" + home.path().string() + "'";
  const char* const kBad[] = {
      " --home /no/such/folder --from '2026/01/01 00:00:00' --until '2026/01/02 00:00:00'",
      " --from '2026/02/30 00:00:00' --until '2026/03/01 00:00:00'",
      " --from '2026/01/02 00:00:00' --until '2026/01/01 00:00:00'",
      " --from '2026/01/01 00:00:00' --until '2026/01/02 00:00:00' --tz Nowhere/Atlantis",
      " --from '2026/01/01 00:00:00' --until '2026/01/02 00:00:00' --count 7",
      " --from '2026/01/01 00:00:00' --until '2026/01/02 00:00:00' --step '2026/01/01' 5",
      " --from '2026/01/01 00:00:00' --until '2026/01/02 00:00:00' --tz-change '2026/01/01 "
      "01:00:00' Nowhere/Atlantis",
      " --from '2026/01/01 00:00:00'",
      " --from '2026/01/01 00:00:00' --until '2026/01/02 00:00:00' --busy '2026/01/01 02:00:00' "
      "'2026/01/01 01:00:00'",
      " --from '2026/01/01 00:00:00' --until '2026/01/02 00:00:00' --dnd '2026/01/01 02:00:00'",
  };
  for (const char* bad : kBad) {
    const std::string args = std::string(bad).find("--home") == std::string::npos ? at + bad : bad;
    const ToolResult r = RunTool("simulate" + args);
    EXPECT_EQ(r.exit_code, 2) << bad;
    EXPECT_TRUE(r.out.empty()) << bad;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << bad << ": " << r.err;
  }
}

}  // namespace
}  // namespace chimewell::testing
