// The holiday lookups the schedule's next-firing computation makes for every day it steps over.
#include <benchmark/benchmark.h>

#include "core/holiday_calendar.h"

namespace chimewell {
namespace {

// One lookup per day of a year, on a warm table.
void BM_NationalHolidayNameOverAYear(benchmark::State& state) {
  for (auto _ : state) {
    int found = 0;
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 31; ++day) found += !NationalHolidayName(2026, month, day).empty();
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_NationalHolidayNameOverAYear);

// The calendar with a company's days off, one day at a time as a schedule asks.
void BM_CalendarIsHolidayOverAYear(benchmark::State& state) {
  std::vector<UserHoliday> own;
  for (int day = 26; day <= 31; ++day) own.push_back({std::nullopt, 12, day, "年末休暇"});
  own.push_back({2026, 8, 14, "夏季休暇"});
  const HolidayCalendar calendar(std::move(own));
  const TDateTime first = *TryEncodeDate(2026, 1, 1);
  for (auto _ : state) {
    int found = 0;
    for (int i = 0; i < 365; ++i) found += calendar.IsHoliday(first + i + 0.5);
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_CalendarIsHolidayOverAYear);

}  // namespace
}  // namespace chimewell
