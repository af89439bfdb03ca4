// The clock in virtual time through suspends, clock steps and daylight-saving changes.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/holiday_calendar.h"
#include "simulate/simulation_fixture.h"

namespace chimewell::testing {
namespace {

using namespace std::chrono_literals;

TEST_F(SimulationTest, SuspendPassesOverWhatFellDueAndStartsOpenMusic) {
  Zone("Asia/Tokyo");
  const std::string music = (dir / "music.mid").string();
  std::ofstream(music) << "MThd";
  Schedule(std::string(kHourly) + "Speak \"[hour][min]です\" At 18:00\r\nMidi \"" + music +
           "\" BGM from 20:00 to 22:00\r\n");
  SimulationPlan plan = Plan("2026/06/01 12:50:00", "2026/06/01 23:00:00");
  plan.events.push_back({ClockEvent::Kind::kSuspend, Moment("2026/06/01 13:10:00"), 28200s});
  // It wakes at 21:00:00: the chime named 21:00 had its hand-over inside the sleep, and plays.
  EXPECT_EQ(Run(plan), (Lines{"06/01 12:59:59.500+9 time 1時",
                              "06/01 13:59:59.500+9 time skipped",
                              "06/01 21:00:00.000+9 time 9時",
                              "06/01 17:59:59.500+9 speak skipped",
                              "06/01 21:00:00.000+9 midi " + music,
                              "06/01 21:59:59.500+9 time 10時",
                              "06/01 22:59:59.500+9 time 11時"}));
  int passed_over = 0;
  for (const auto& line : log) passed_over += line.find("見送り 次は ") != std::string::npos;
  EXPECT_EQ(passed_over, 2);
  EXPECT_NE(panel.find("2件の予定を見送りました"), std::string::npos) << panel;

  // Only what fell due while asleep counts as missed: with no grace at all, the chime due half
  // a second after waking still plays, on its moment.
  plan = Plan("2026/06/01 12:50:00", "2026/06/01 14:30:00");
  plan.hidden = false;
  plan.late_limit = 0;
  plan.events.push_back({ClockEvent::Kind::kSuspend, Moment("2026/06/01 13:10:00"), 2999s});
  EXPECT_EQ(Run(plan), (Lines{"06/01 12:59:59.500+9 time 1時", "06/01 13:59:59.500+9 time 2時"}));
}

// What a year of 2027 should bring: the weekday line on working weekdays, the holiday line on
// every holiday (the national ones, whatever the calendar knows of them, and the user's),
// naming it.
Lines YearOfWorkdaysAndHolidays(const HolidayCalendar& holidays) {
  Lines expected;
  const TDateTime first = *TryEncodeDateTime({2027, 1, 1, 0, 0, 0, 0});
  const TDateTime last = *TryEncodeDateTime({2027, 12, 31, 0, 0, 0, 0});
  for (TDateTime day = first; day <= last; day += 1) {
    const int weekday = DayOfWeek(day);
    const std::string date = FormatDateTime("mm/dd", day);
    if (holidays.IsHoliday(day)) {
      expected.push_back(date + " 08:59:59.500+9 speak 今日は" + holidays.Name(day) + "です");
    } else if (weekday >= 2 && weekday <= 6) {
      expected.push_back(date + " 07:59:59.500+9 speak 出勤日です");
    }
  }
  return expected;
}

TEST_F(SimulationTest, AYearOfWorkdaysAndHolidaysFollowsTheHolidayFile) {
  Zone("Asia/Tokyo");
  Schedule("Speak 出勤日です At 8:00 Every 月 火 水 木 金 NoHoliday\r\n"
           "Speak 今日は[holiday]です At 9:00 祝日のみ\r\n");
  const SimulationPlan year = Plan("2027/01/01 00:00:00", "2028/01/01 00:00:00");
  // Without a holiday file only the national holidays count.
  const Lines national = Run(year);
  EXPECT_EQ(national, YearOfWorkdaysAndHolidays(HolidayCalendar()));
  // New Year's Day, a Friday, brings the holiday line and no weekday line.
  ASSERT_FALSE(national.empty());
  EXPECT_EQ(national.front(), "01/01 08:59:59.500+9 speak 今日は元日です");

  std::ofstream(dir / "chimewell.hol", std::ios::binary)
      << "# 会社の休み\r\n2027/08/13 夏季休業\r\n2027/08/16 夏季休業\r\n12/29 年末休み\r\n"
         "12/30 年末休み\r\n12/31 年末休み\r\n01/02 年始休み\r\n01/04 年始休み\r\n";
  const Lines got = Run(year);
  EXPECT_EQ(got, YearOfWorkdaysAndHolidays(HolidayCalendar({{2027, 8, 13, "夏季休業"},
                                                            {2027, 8, 16, "夏季休業"},
                                                            {std::nullopt, 12, 29, "年末休み"},
                                                            {std::nullopt, 12, 30, "年末休み"},
                                                            {std::nullopt, 12, 31, "年末休み"},
                                                            {std::nullopt, 1, 2, "年始休み"},
                                                            {std::nullopt, 1, 4, "年始休み"}})));
  // A Friday off of the user's own: the holiday line, not the weekday line.
  EXPECT_NE(std::find(got.begin(), got.end(), "08/13 08:59:59.500+9 speak 今日は夏季休業です"),
            got.end());
}

TEST_F(SimulationTest, EntriesWeeksApartFireAsIfSomethingNearKeptTheClockAwake) {
  Zone("Asia/Tokyo");
  const std::string music = (dir / "music.mid").string();
  std::ofstream(music) << "MThd";
  std::ofstream(dir / "chimewell.hol", std::ios::binary) << "2027/01/12 創立記念日\r\n";
  // Holidays lie up to 40 days apart (3/20 to 4/29, 7/20 to 9/21): further than one timer run.
  const std::string far_lines[] = {
      "Speak おはようございます At 8:30 OnHoliday",
      "Time \"[hour][min]\" Skip 6:00 from 9:00 to 16:00 祝日のみ",
      "Speak 正時です ALL 0 from 10:00 to 12:00 OnHoliday Every 月 火",
      "Midi \"" + music + "\" BGM from 12:00 to 13:00 OnHoliday",
  };
  constexpr const char* kNear = "Speak 起床 ALL 0\r\n";
  for (const std::string& far : far_lines) {
    const SimulationPlan plan = Plan("2026/01/13 00:00:05", "2027/01/13 00:00:00");
    Schedule(far + "\r\n");
    const Lines alone = Run(plan);
    Schedule(far + "\r\n" + kNear);
    Lines woken = Run(plan);
    std::erase_if(woken, [](const std::string& l) { return l.ends_with("起床"); });
    EXPECT_EQ(alone, woken) << far;
    // The year's last holiday is the user's own day off.
    ASSERT_FALSE(alone.empty()) << far;
    EXPECT_TRUE(alone.back().starts_with("01/12 ")) << far << ": " << alone.back();
  }
}

TEST_F(SimulationTest, AtAWakeTheLatestChimeStillDuePlaysAndNoneIsLostUnlogged) {
  Zone("Asia/Tokyo");
  Schedule(kHourly);
  struct Case {
    int64_t sleep_seconds;  // from 13:10:00; the run ends at 22:30
    int late_limit;
    Lines expected;  // after the 13:00 chime and before the 22:00 one
  };
  const Case cases[] = {
      // Woken on the moment named: it plays at once, even with no grace at all.
      {28200, 0, {"06/01 13:59:59.500+9 time skipped", "06/01 21:00:00.000+9 time 9時"}},
      // Woken 30 s after it: late, within the limit.
      {28230, 60, {"06/01 13:59:59.500+9 time skipped", "06/01 21:00:30.000+9 time 9時"}},
      // ... and beyond it: passed over with the rest of the sleep.
      {28230, 10, {"06/01 13:59:59.500+9 time skipped"}},
      // Only moment slept through, within the limit: it plays late, once.
      {3020, 60, {"06/01 14:00:20.000+9 time 2時", "06/01 14:59:59.500+9 time 3時",
                  "06/01 15:59:59.500+9 time 4時", "06/01 16:59:59.500+9 time 5時",
                  "06/01 17:59:59.500+9 time 6時", "06/01 18:59:59.500+9 time 7時",
                  "06/01 19:59:59.500+9 time 8時", "06/01 20:59:59.500+9 time 9時"}},
  };
  for (const Case& c : cases) {
    SimulationPlan plan = Plan("2026/06/01 12:50:00", "2026/06/01 22:30:00");
    plan.late_limit = c.late_limit;
    plan.events.push_back({ClockEvent::Kind::kSuspend, Moment("2026/06/01 13:10:00"),
                           std::chrono::seconds(c.sleep_seconds)});
    Lines expected{"06/01 12:59:59.500+9 time 1時"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    expected.push_back("06/01 21:59:59.500+9 time 10時");
    EXPECT_EQ(Run(plan), expected) << c.sleep_seconds << " " << c.late_limit;
  }
}

TEST_F(SimulationTest, ClockStepsForwardAndBack) {
  Zone("Asia/Tokyo");
  Schedule(std::string(kHourly) + "Speak \"[hour][min]です\" At 13:05\r\n");
  struct Case {
    int64_t step_seconds;
    int late_limit;
    Lines expected;
  };
  const Case cases[] = {
      // Forward past the chime by ten minutes: too late, passed over.
      {3600, 60, {"06/01 13:04:59.500+9 speak 1時5分です", "06/01 13:59:59.500+9 time skipped",
                  "06/01 14:59:59.500+9 time 3時"}},
      // ... but within a generous limit it plays at once, naming the time it plays.
      {3600, 900, {"06/01 13:04:59.500+9 speak 1時5分です", "06/01 14:10:00.000+9 time 2時10分",
                   "06/01 14:59:59.500+9 time 3時"}},
      // Back an hour: the chime follows the shown clock, the daily entry does not repeat.
      {-3600, 60, {"06/01 13:04:59.500+9 speak 1時5分です", "06/01 12:59:59.500+9 time 1時",
                   "06/01 13:59:59.500+9 time 2時"}},
  };
  for (const Case& c : cases) {
    SimulationPlan plan = Plan("2026/06/01 13:00:00", "2026/06/01 14:00:00");
    plan.late_limit = c.late_limit;
    plan.events.push_back({ClockEvent::Kind::kStep, Moment("2026/06/01 13:10:00"),
                           std::chrono::seconds(c.step_seconds)});
    // The run ends at the wall clock's 15:00 in every case.
    plan.until = Moment("2026/06/01 15:00:00") - (c.step_seconds > 0 ? 0h : 1h);
    EXPECT_EQ(Run(plan), c.expected) << c.step_seconds << " " << c.late_limit;
  }
}

// A laptop carried east and then west: the signals follow the clock of the zone it is in.
TEST_F(SimulationTest, TimeZoneChangesAreFollowedAtOnce) {
  Zone("Europe/London");
  Schedule("Time \"[hour][min]\" At 7:00\r\nTime \"[hour][min]\" At 12:00\r\n");
  SimulationPlan plan = Plan("2026/12/07 06:00:00", "2026/12/08 18:00:00");
  plan.zone_changes = {ZoneChange{Moment("2026/12/07 08:00:00"), "Asia/Tokyo"},
                       ZoneChange{Moment("2026/12/08 04:00:00"), "America/New_York"}};
  // East at 17:00 in Tokyo: today's noon there has passed. West at 23:00 in New York, the
  // evening before: its 7 and 12 o'clock are still to come.
  EXPECT_EQ(Run(plan), (Lines{"12/07 06:59:59.500+0 time 7時", "12/08 06:59:59.500+9 time 7時",
                              "12/08 11:59:59.500+9 time 12時", "12/08 06:59:59.500-5 time 7時",
                              "12/08 11:59:59.500-5 time 12時"}));
}

TEST_F(SimulationTest, DaylightSavingChangesSayTheTimeTheClockShows) {
  struct Case {
    const char* zone;
    const char* from;
    const char* until;
    const char* daily;
    Lines expected;
  };
  const Case cases[] = {
      // Spring: 02:00 becomes 03:00. The daily entry inside the skipped hour fires at the
      // change, once; the chime names 3時 there.
      {"Europe/Berlin", "2026/03/29 01:30:00", "2026/03/29 04:30:00", "2:30",
       {"03/29 01:59:59.500+1 time 3時", "03/29 01:59:59.500+1 speak 3時",
        "03/29 03:59:59.500+2 time 4時"}},
      // Autumn: 03:00 becomes 02:00 again. The chime says 2時 twice, the daily entry once.
      {"Europe/Berlin", "2026/10/25 01:30:00", "2026/10/25 03:30:00", "2:30",
       {"10/25 01:59:59.500+2 time 2時", "10/25 02:29:59.500+2 speak 2時30分",
        "10/25 02:59:59.501+2 time 2時", "10/25 02:59:59.500+1 time 3時"}},
      {"America/New_York", "2026/03/08 01:30:00", "2026/03/08 04:30:00", "2:30",
       {"03/08 01:59:59.500-5 time 3時", "03/08 01:59:59.500-5 speak 3時",
        "03/08 03:59:59.500-4 time 4時"}},
      {"America/New_York", "2026/11/01 00:30:00", "2026/11/01 02:30:00", "1:30",
       {"11/01 00:59:59.500-4 time 1時", "11/01 01:29:59.500-4 speak 1時30分",
        "11/01 01:59:59.501-4 time 1時", "11/01 01:59:59.500-5 time 2時"}},
  };
  for (const Case& c : cases) {
    Zone(c.zone);
    Schedule(std::string(kHourly) + "Speak \"[hour][min]\" At " + c.daily + "\r\n");
    for (const bool hidden : {true, false}) {
      SimulationPlan plan = Plan(c.from, c.until);
      plan.hidden = hidden;
      // Shown or hidden, announcements are handed over ahead and land on their moment.
      EXPECT_EQ(Run(plan), c.expected)
          << c.zone << " " << c.from << (hidden ? " hidden" : " showing");
    }
  }
}

}  // namespace
}  // namespace chimewell::testing

namespace chimewell::testing {
namespace {

TEST_F(SimulationTest, ThirtyDaysOfCountAndChimeMissNothingAndDoubleNothing) {
  Zone("Asia/Tokyo");
  Schedule(kHourly);
  SimulationPlan plan = Plan("2026/06/01 00:00:00", "2026/07/01 00:00:00");
  plan.count_interval = 5;
  Simulation simulation(plan);
  int64_t counts = 0, chimes = 0, last_count = 0, last_chime = 0;
  bool evenly_spaced = true;
  simulation.Run([&](const FiringRecord& f) {
    // The second each names: it plays SpeakOffset (500 ms) ahead of it.
    const int64_t named = (f.at.UnixMs() + 500) / 1000 * 1000;
    int64_t& last = f.kind == FiringKind::kCount ? last_count : last_chime;
    const int64_t step = f.kind == FiringKind::kCount ? 5000 : 3600000;
    if (last != 0 && named - last != step) evenly_spaced = false;
    last = named;
    ++(f.kind == FiringKind::kCount ? counts : chimes);
  });
  // Every fifth second after the start, up to the last midnight (counted with its chime, half a
  // second ahead); every hour's chime.
  EXPECT_EQ(counts, 30 * 86400 / 5);
  EXPECT_EQ(chimes, 30 * 24);
  EXPECT_TRUE(evenly_spaced);
  EXPECT_LE(simulation.App().Logs().Lines().size(), 10000u);
  EXPECT_FALSE(simulation.App().PlaybackData().HasMessageThread());
  EXPECT_FALSE(simulation.App().PlaybackData().HasMidiThread());
}

}  // namespace
}  // namespace chimewell::testing
