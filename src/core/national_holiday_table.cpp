#include "core/national_holiday_table.h"

#include <array>
#include <memory>

#include "core/datetime.h"
#include "core/statutory_holidays.h"

namespace chimewell {
namespace {

constexpr int kSunday = 1;
constexpr int kDaysInYearTable = 12 * 31;  // a slot for every month and day, real or not
constexpr int kYears = kLastHolidayYear - kFirstHolidayYear + 1;

using YearTable = std::array<HolidayKind, kDaysInYearTable>;
using AllYears = std::array<YearTable, kYears>;

// The dates the rules for the added days off came into force (as yyyymmdd).
constexpr int kSubstituteSince = 19730412;       // a holiday on Sunday gives the Monday off
constexpr int kSubstituteRuleOf2007 = 20070101;  // ... or the next day that is no holiday
constexpr int kBridgeSince = 19851227;           // a day between two holidays is off

int Slot(int month, int day) { return (month - 1) * 31 + (day - 1); }

struct DayOfYear {
  int month;
  int day;
  int weekday;
  int Stamp(int year) const { return year * 10000 + month * 100 + day; }
};

// The days of `year` in order, each with its weekday.
std::array<DayOfYear, 366> DaysOf(int year, int& count) {
  std::array<DayOfYear, 366> days{};
  count = 0;
  int weekday = WeekdayOfDate(year, 1, 1);
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth(year, month); ++day) {
      days[count++] = {month, day, weekday};
      weekday = weekday % 7 + 1;
    }
  }
  return days;
}

// The year's holidays by law first; then the days off that follow from them. A year's added
// days never reach into the next one (12/31 and 1/1's neighbours are no holidays), so each year
// is worked out alone.
YearTable BuildYear(int year) {
  YearTable table{};
  int count = 0;
  const auto days = DaysOf(year, count);
  std::array<bool, 366> by_law{};
  for (int i = 0; i < count; ++i) {
    const HolidayKind kind = StatutoryHoliday(year, days[i].month, days[i].day);
    table[Slot(days[i].month, days[i].day)] = kind;
    by_law[i] = kind != HolidayKind::kNone;
  }
  for (int i = 1; i + 1 < count; ++i) {
    if (by_law[i]) continue;
    // The nearest day after a holiday on Sunday that is no holiday itself; until 2007 only
    // the day right after, which was never a holiday then anyway.
    bool substitute = false;
    for (int back = i - 1; back >= 0 && by_law[back]; --back) {
      const int stamp = days[back].Stamp(year);
      if (back < i - 1 && stamp < kSubstituteRuleOf2007) break;
      if (days[back].weekday == kSunday && stamp >= kSubstituteSince) substitute = true;
    }
    const int stamp = days[i].Stamp(year);
    // A day between two holidays; until 2007 a Sunday or a 振替休日 stayed what it was.
    const bool bridge = stamp >= kBridgeSince && by_law[i - 1] && by_law[i + 1] &&
                        (stamp >= kSubstituteRuleOf2007 || days[i].weekday != kSunday);
    const HolidayKind added = substitute ? HolidayKind::kSubstitute
                              : bridge   ? HolidayKind::kBridge
                                         : HolidayKind::kNone;
    table[Slot(days[i].month, days[i].day)] = added;
  }
  return table;
}

const AllYears& Tables() {
  // Built on first use; the language makes that once, whichever threads ask at the same time.
  static const std::unique_ptr<const AllYears> tables = [] {
    auto all = std::make_unique<AllYears>();
    for (int y = 0; y < kYears; ++y) (*all)[y] = BuildYear(kFirstHolidayYear + y);
    return std::unique_ptr<const AllYears>(std::move(all));
  }();
  return *tables;
}

}  // namespace

HolidayKind NationalHolidayKind(int year, int month, int day) {
  if (year < kFirstHolidayYear || year > kLastHolidayYear || month < 1 || month > 12 || day < 1 ||
      day > 31) {
    return HolidayKind::kNone;
  }
  return Tables()[year - kFirstHolidayYear][Slot(month, day)];
}

}  // namespace chimewell
