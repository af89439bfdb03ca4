#include "app/firing_planner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/holiday_calendar.h"
#include "core/local_time.h"
#include "core/settings.h"
#include "schedule/schedule.h"
#include "support/memory_file_system.h"

namespace chimewell {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// The planner over a one-line schedule in UTC, driven as the tick drives it: the elapsed
// clock runs with the wall clock unless a run says the machine slept.
class FiringPlannerTest : public ::testing::Test {
 protected:
  FiringPlannerTest() {
    if (const char* old = std::getenv("TZ")) saved_zone_ = old;
    setenv("TZ", "UTC0", 1);
    tzset();
    ReloadLocalZone();
  }
  ~FiringPlannerTest() override {
    if (saved_zone_.empty()) {
      unsetenv("TZ");
    } else {
      setenv("TZ", saved_zone_.c_str(), 1);
    }
    tzset();
    ReloadLocalZone();
  }

  void Load(const std::string& line) {
    ASSERT_TRUE(schedule_.LoadSchedule({line}, 100));
    planner_.SetRecomputeFlag(1);
  }
  static WallMoment At(const char* local, int64_t plus_ms = 0) {
    return WallMoment::FromUnixMs(WallOfLocal(*ParseDateTime(local), INT64_MIN) + plus_ms);
  }
  // One run of the tick at `wall` after `slept` of suspend; returns what it fired or passed
  // over, as "fire hh:nn:ss.zzz" / "pass hh:nn:ss.zzz".
  std::vector<std::string> Run(WallMoment wall, milliseconds slept = {}) {
    if (last_wall_) elapsed_ += duration_cast<milliseconds>(wall - *last_wall_) - slept;
    last_wall_ = wall;
    const TickMoment m = planner_.Read(wall, elapsed_);
    planner_.NoteClockJumps(m);
    std::vector<std::string> got;
    for (const DueEntry& d : planner_.TakeDueEntries(m)) {
      const WallMoment when = d.passed_over ? d.due : d.at.wall;
      got.push_back((d.passed_over ? "pass " : "fire ") +
                    FormatDateTime("hh:nn:ss.zzz", LocalOf(when)));
    }
    plan_ = planner_.Plan(m, 0, m.now);
    return got;
  }

  testing::MemoryFileSystem files_;
  HolidayCalendar holidays_;
  Schedule schedule_{files_, {}, holidays_};
  ConfigSettings config_;  // SpeakOffset 500 ms, LateLimit 60 s
  FiringPlanner planner_{schedule_, config_};
  TickPlan plan_;
  ElapsedMoment elapsed_;
  std::optional<WallMoment> last_wall_;
  std::string saved_zone_;
};

TEST_F(FiringPlannerTest, WakesToPrepareThenToHandOverAndEverySecondWhileShowing) {
  Load("Speak Noon At 12:00");  // due at 11:59:59.500, SpeakOffset early
  struct Case {
    WallMoment now;
    bool showing;
    WallMoment timer;
  };
  const Case cases[] = {
      {At("2026/06/01 11:00:00"), false, At("2026/06/01 11:59:56", 500)},
      {At("2026/06/01 11:59:57"), false, At("2026/06/01 11:59:59")},
      {At("2026/06/01 11:59:57"), true, At("2026/06/01 11:59:58", 1)},
      {At("2026/06/01 11:59:58", 400), true, At("2026/06/01 11:59:59")},
  };
  for (const Case& c : cases) {
    Run(c.now);
    const TickMoment m = planner_.Read(c.now, elapsed_);
    EXPECT_EQ(planner_.TimerMoment(m, plan_.wake, c.showing), c.timer) << c.now.UnixMs();
  }
  ASSERT_EQ(plan_.upcoming.size(), 1u);  // within the three seconds: its speech is made now
  EXPECT_EQ(Run(At("2026/06/01 11:59:59")), std::vector<std::string>{"fire 11:59:59.500"});
}

TEST_F(FiringPlannerTest, AfterASuspendOnlyWhatLateLimitAllowsPlays) {
  struct Case {
    const char* woke;
    std::vector<std::string> got;
  };
  const Case cases[] = {
      // Half a minute late: within the limit, it plays as the machine wakes.
      {"2026/06/01 10:00:30", {"fire 10:00:30.000"}},
      // Two hours late: the 10:00 moment is passed over, and 12:00, still within the limit,
      // plays in its place; 11:00 went with the one passed over.
      {"2026/06/01 12:00:30", {"pass 09:59:59.500", "fire 12:00:30.000"}},
      // Past the limit for every moment slept through: only passed over, 13:00 comes next.
      {"2026/06/01 12:05:00", {"pass 09:59:59.500"}},
  };
  for (const Case& c : cases) {
    Load("Time \"[hour][min]\" ALL 0");
    last_wall_.reset();
    Run(At("2026/06/01 09:59:00"));
    const WallMoment woke = At(c.woke);
    EXPECT_EQ(Run(woke, duration_cast<milliseconds>(woke - At("2026/06/01 09:59:01"))), c.got)
        << c.woke;
    EXPECT_EQ(Run(woke + 1s), std::vector<std::string>{}) << c.woke;
  }
}

TEST_F(FiringPlannerTest, MusicWokenIntoItsWindowStartsOnlyOnADayItMayPlay) {
  files_.Add("lunch.mid");
  const HolidayCalendar tuesday_off({{2026, 6, 2, "休業日"}});
  struct Case {
    const char* line;
    std::vector<std::string> got;
  };
  const Case cases[] = {
      {"Midi lunch.mid BGM from 12:00 to 13:00", {"fire 12:30:00.000"}},
      {"Midi lunch.mid BGM from 12:00 to 13:00 NoHoliday", {"pass 11:59:59.500"}},
      {"Midi lunch.mid BGM from 12:00 to 13:00 OnHoliday", {"fire 12:30:00.000"}},
  };
  for (const Case& c : cases) {
    // Planned on Monday before noon, then asleep until Tuesday's window is half over.
    holidays_ = tuesday_off;
    Load(c.line);
    last_wall_.reset();
    Run(At("2026/06/01 11:59:00"));
    const WallMoment woke = At("2026/06/02 12:30:00");
    EXPECT_EQ(Run(woke, duration_cast<milliseconds>(woke - At("2026/06/01 11:59:01"))), c.got)
        << c.line;
  }
}

TEST_F(FiringPlannerTest, NewHolidaysMoveTheNextMomentsButNeverHandOverTwice) {
  Load("Speak S Skip 30 from 9:00 to 11:00 NoHoliday");
  Run(At("2026/06/01 09:40:00"));
  // 10:00 is handed over half a second ahead, as its moment is spoken SpeakOffset early.
  EXPECT_EQ(Run(At("2026/06/01 09:59:59")), std::vector<std::string>{"fire 09:59:59.500"});
  planner_.FollowHolidayChange(planner_.Read(At("2026/06/01 09:59:59", 200), elapsed_ + 200ms));
  EXPECT_EQ(Run(At("2026/06/01 09:59:59", 300)), std::vector<std::string>{});
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss", schedule_.ScheduleEntries()[0].NextTime), "01 10:29:59");
  // Monday becomes a day off: what is left of it is skipped, Tuesday's window comes next.
  holidays_ = HolidayCalendar({{2026, 6, 1, "休業日"}});
  planner_.FollowHolidayChange(planner_.Read(At("2026/06/01 10:10:00"), elapsed_ + 10min));
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss", schedule_.ScheduleEntries()[0].NextTime), "02 08:59:59");
}

TEST_F(FiringPlannerTest, CountsEachShownSecondOnceAndAgainAfterAZoneChange) {
  const WallMoment wall = At("2026/06/01 12:00:14", 600);  // names 12:00:15.100
  const TickMoment m = planner_.Read(wall, ElapsedMoment());
  const auto first = planner_.TakeDueCount(m, 15);
  ASSERT_TRUE(first.has_value());
  EXPECT_STREQ(CountFormatAt(first->announced), "[sec]");
  const TickMoment later = planner_.Read(wall + 300ms, ElapsedMoment(300ms));
  EXPECT_FALSE(planner_.TakeDueCount(later, 15));
  planner_.FollowZoneChange(m);
  EXPECT_TRUE(planner_.TakeDueCount(later, 15));
  EXPECT_STREQ(CountFormatAt(*ParseDateTime("2026/06/01 12:01:00")), "[hour][min]");
}

}  // namespace
}  // namespace chimewell
