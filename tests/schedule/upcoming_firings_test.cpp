#include "schedule/upcoming_firings.h"

#include <gtest/gtest.h>

#include "support/memory_file_system.h"
#include "schedule/schedule.h"

namespace chimewell {
namespace {

std::vector<std::string> Upcoming(const LineList& script, TDateTime from, int flag, size_t count,
                                  const HolidayCalendar& holidays = HolidayCalendar()) {
  testing::MemoryFileSystem files;
  Schedule schedule(files, {}, holidays);
  EXPECT_TRUE(schedule.LoadSchedule(script, 100));
  std::vector<std::string> out;
  for (const auto& f : UpcomingFirings(schedule.ScheduleEntries(), holidays, from, flag, count)) {
    out.push_back(FormatDateTime("dd hh:nn:ss ", f.moment) +
                  schedule.ScheduleEntries()[f.index].Msg);
  }
  return out;
}

// Saturday 2026-12-05.
TDateTime Saturday(int h, int mi) { return *TryEncodeDateTime({2026, 12, 5, h, mi, 0, 0}); }

TEST(UpcomingFirings, MergesEntriesInTimeOrderWithTiesInListOrder) {
  const auto got = Upcoming({"Speak B Skip 30 from 9:00 to 10:00", "Speak A At 9:30 12:00",
                             "Speak C ALL 0 from 9:00 to 11:00"},
                            Saturday(9, 10), 0, 6);
  EXPECT_EQ(got, (std::vector<std::string>{"05 09:30:00 B", "05 09:30:00 A", "05 10:00:00 B",
                                           "05 10:00:00 C", "05 11:00:00 C", "05 12:00:00 A"}));
}

TEST(UpcomingFirings, FollowsEachEntryAcrossDays) {
  const auto got = Upcoming({"Speak W At 7:00 Every Mon Wed", "Speak L BGM from 12:00 to 13:00"},
                            Saturday(12, 20), 1, 5);
  EXPECT_EQ(got, (std::vector<std::string>{"05 12:00:00 L", "06 12:00:00 L", "07 07:00:00 W",
                                           "07 12:00:00 L", "08 12:00:00 L"}));
  EXPECT_EQ(Upcoming({"Speak L BGM from 12:00 to 13:00"}, Saturday(12, 20), 0, 1),
            std::vector<std::string>{"06 12:00:00 L"});
  EXPECT_TRUE(Upcoming({"# nothing"}, Saturday(0, 0), 0, 3).empty());
}

TEST(UpcomingFirings, PassesOverTheDaysTheHolidayOptionsExclude) {
  // Monday the 7th off this year, the 9th every year.
  const HolidayCalendar days_off({{2026, 12, 7, "休業日"}, {std::nullopt, 12, 9, "記念日"}});
  const auto got = Upcoming({"Speak N At 7:00 NoHoliday", "Speak O At 8:00 祝日のみ"},
                            Saturday(12, 0), 0, 7, days_off);
  EXPECT_EQ(got, (std::vector<std::string>{"06 07:00:00 N", "07 08:00:00 O", "08 07:00:00 N",
                                           "09 08:00:00 O", "10 07:00:00 N", "11 07:00:00 N",
                                           "12 07:00:00 N"}));
}

}  // namespace
}  // namespace chimewell
