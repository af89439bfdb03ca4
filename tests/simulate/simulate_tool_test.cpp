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
            "2026/03/29 03:59:59.500+02:00\ttime\tskipped\n");
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
            "2026/12/07 12:59:59.500+09:00\ttime\tskipped\n"
            "2026/12/07 13:59:59.500+09:00\ttime\tskipped\n"
            "2026/12/07 14:59:59.500+09:00\ttime\t3時\n");
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
