// Quiet hours and a busy desktop in virtual time, through daylight-saving changes.
#include <gtest/gtest.h>

#include "simulate/simulation_fixture.h"

namespace chimewell::testing {
namespace {

constexpr const char* kHourlyWithSeconds = "Time \"[hour][min][sec]\" ALL 0\r\n";

class QuietSimulationTest : public SimulationTest {
 protected:
  void Settings(const std::string& config) {
    std::ofstream(dir / "chimewell.ini", std::ios::binary) << "[Config]\r\n" << config;
  }
  BusySpell Busy(const char* from, const char* until, bool do_not_disturb = false) {
    BusySpell spell{Moment(from), Moment(until), {}};
    (do_not_disturb ? spell.state.do_not_disturb : spell.state.in_call) = true;
    return spell;
  }
};

TEST_F(QuietSimulationTest, QuietNightAcrossTheAutumnChangeSkipsBothTwoOClocks) {
  Zone("Europe/Berlin");
  Settings("QuietFrom=22:00\r\nQuietTo=7:00\r\n");
  Schedule(kHourly);
  EXPECT_EQ(Run(Plan("2026/10/24 21:30:00", "2026/10/25 07:30:00")),
            (Lines{"10/24 21:59:59.500+2 time skipped", "10/24 22:59:59.500+2 time skipped",
                   "10/24 23:59:59.500+2 time skipped", "10/25 00:59:59.500+2 time skipped",
                   "10/25 01:59:59.500+2 time skipped", "10/25 02:59:59.500+2 time skipped",
                   "10/25 02:59:59.500+1 time skipped", "10/25 03:59:59.500+1 time skipped",
                   "10/25 04:59:59.500+1 time skipped", "10/25 05:59:59.500+1 time skipped",
                   "10/25 06:59:59.500+1 time 7時"}));
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) {
                            return line.find("見送り（静かな時間） 次は 02:00.00 の時報") !=
                                   std::string::npos;
                          }),
            2);
}

TEST_F(QuietSimulationTest, QuietTimeBeginningInTheSkippedSpringHourStillBegins) {
  Zone("Europe/Berlin");
  Settings("QuietFrom=2:30\r\nQuietTo=5:00\r\n");
  Schedule(kHourly);
  EXPECT_EQ(Run(Plan("2026/03/29 00:30:00", "2026/03/29 05:30:00")),
            // The 3 o'clock chime falls due half a second before the clock jumps to it.
            (Lines{"03/29 00:59:59.500+1 time 1時", "03/29 01:59:59.500+1 time skipped",
                   "03/29 03:59:59.500+2 time skipped", "03/29 04:59:59.500+2 time 5時"}));
}

TEST_F(QuietSimulationTest, BusyDesktopHoldsFiringsUntilFreeWithinLateLimit) {
  Zone("Asia/Tokyo");
  Schedule(kHourlyWithSeconds);
  SimulationPlan plan = Plan("2026/12/07 11:30:00", "2026/12/07 15:30:00");
  plan.busy = {Busy("2026/12/07 11:59:00", "2026/12/07 12:00:40"),
               // Overlapping spells: free only when both are over, too late for 13:00.
               Busy("2026/12/07 12:59:00", "2026/12/07 13:00:30"),
               Busy("2026/12/07 13:00:00", "2026/12/07 13:02:00", true),
               Busy("2026/12/07 13:59:00", "2026/12/07 14:05:00", true)};
  EXPECT_EQ(Run(plan),
            (Lines{"12/07 12:00:40.000+9 time 12時40秒", "12/07 12:59:59.500+9 time skipped",
                   "12/07 13:59:59.500+9 time skipped", "12/07 14:59:59.500+9 time 3時"}));
  // Each by what kept the desktop busy at its moment: as it starts to wait (its hand-over,
  // half a second before the chime's first sound) and when it is passed over.
  Lines told;
  std::copy_if(log.begin(), log.end(), std::back_inserter(told), [](const std::string& line) {
    return line.find("待機") != std::string::npos || line.find("見送り") != std::string::npos;
  });
  EXPECT_EQ(told, (Lines{"11:59.59.000 待機（通話中） 次は 12:00.00 の時報",
                         "12:59.59.000 待機（通話中） 次は 13:00.00 の時報",
                         "13:00.59.501 見送り（通話中） 次は 13:00.00 の時報",
                         "13:59.59.000 待機（おやすみモード） 次は 14:00.00 の時報",
                         "14:00.59.501 見送り（おやすみモード） 次は 14:00.00 の時報"}));
}

TEST_F(QuietSimulationTest, EntryRepeatedWhileBusyPlaysOnlyTheLatestMomentThatStillCounts) {
  Zone("Asia/Tokyo");
  Schedule("Speak \"[hour][min]\" Skip 0:01\r\n");
  SimulationPlan plan = Plan("2026/12/07 11:58:30", "2026/12/07 12:04:10");
  plan.late_limit = 30;
  plan.busy = {Busy("2026/12/07 11:59:30", "2026/12/07 12:02:20")};
  const Lines lines = Run(plan);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "12/07 11:58:59.500+9 speak 11時59分");
  // Passed over one by one as their LateLimit runs out; the one just due plays at the end.
  EXPECT_EQ(lines[1], "12/07 11:59:59.500+9 speak skipped");
  EXPECT_EQ(lines[2], "12/07 12:00:59.500+9 speak skipped");
  EXPECT_EQ(lines[3], "12/07 12:02:20.000+9 speak 12時2分");
}

}  // namespace
}  // namespace chimewell::testing
