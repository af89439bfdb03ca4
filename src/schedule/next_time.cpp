#include "schedule/next_time.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace chimewell {
namespace {

constexpr int64_t kMsPerDayInt = 86400000;

// A moment as whole milliseconds since the zero date, split into its day and time of day the
// same way the date-time decoder rounds, so that weekday, date and time always agree.
struct Moment {
  int64_t day;
  int64_t ms_of_day;

  static Moment Of(TDateTime t) { return FromTotal(std::llround(t * kMsPerDay)); }
  int64_t Total() const { return day * kMsPerDayInt + ms_of_day; }
  int SecondOfDay() const { return static_cast<int>(ms_of_day / 1000); }
  int Millisecond() const { return static_cast<int>(ms_of_day % 1000); }
  int Weekday() const { return DayOfWeek(static_cast<TDateTime>(day)); }
  // The same date at `seconds` past midnight.
  Moment At(int seconds) const { return {day, seconds * int64_t{1000}}; }
  Moment PlusDays(int64_t days) const { return {day + days, ms_of_day}; }
  Moment PlusMs(int64_t ms) const { return FromTotal(Total() + ms); }
  static Moment FromTotal(int64_t total) {
    int64_t day = total / kMsPerDayInt;
    if (total % kMsPerDayInt < 0) --day;
    return {day, total - day * kMsPerDayInt};
  }
  // Encoded like a date plus a time of day, so it equals what the date-time encoder makes.
  TDateTime ToDateTime() const {
    return static_cast<TDateTime>(day) + static_cast<TDateTime>(ms_of_day) / kMsPerDay;
  }
};

// The days an entry may fire on: its weekdays, and its holiday rule by the calendar.
class AllowedDays {
 public:
  AllowedDays(const TSchedule& e, const HolidayCalendar& holidays,
              const TimetableCalendar* timetables)
      : e_(e), holidays_(holidays), timetables_(timetables) {}

  // Days from `day` to the nearest day the entry may fire on, `day` itself counting 0; none
  // when no such day lies within kDaysLookedAhead.
  std::optional<int64_t> From(int64_t day) const {
    const int weekday = DayOfWeek(static_cast<TDateTime>(day));
    // Without a holiday rule or a timetable the weekdays alone decide, and a week holds them.
    if (e_.Holidays == HolidayRule::kAny && e_.Timetable.empty()) {
      return DaysToNextWeekday(weekday, e_.Weekdays);
    }
    for (int64_t k = 0; k < kDaysLookedAhead; ++k) {
      if (!(e_.Weekdays & (1u << ((weekday - 1 + k) % 7 + 1)))) continue;
      const auto date = static_cast<TDateTime>(day + k);
      if (e_.Holidays != HolidayRule::kAny &&
          holidays_.IsHoliday(date) != (e_.Holidays == HolidayRule::kOnlyHolidays)) {
        continue;
      }
      if (!e_.Timetable.empty() &&
          (timetables_ == nullptr || timetables_->On(date, holidays_) != e_.Timetable)) {
        continue;
      }
      return k;
    }
    return std::nullopt;
  }

 private:
  const TSchedule& e_;
  const HolidayCalendar& holidays_;
  const TimetableCalendar* timetables_;
};

using NextMoment = std::optional<Moment>;

NextMoment NextAt(const TSchedule& e, const Moment& now, const AllowedDays& days) {
  const int64_t delta = (e.Seconds - now.SecondOfDay()) * int64_t{1000} - now.Millisecond();
  Moment r = now.PlusMs(delta);
  if (delta <= 0) r = r.PlusDays(1);  // at or past today's time: tomorrow
  const auto k = days.From(r.day);
  if (!k) return std::nullopt;
  return r.PlusDays(*k);
}

NextMoment NextRegular(const TSchedule& e, const Moment& now, const AllowedDays& days) {
  const int hour_start = now.SecondOfDay() / 3600 * 3600;
  Moment r = now.At(hour_start + (e.Seconds / 60) % 60 * 60 + e.Seconds % 60);
  if (r.Total() <= now.Total()) r = r.PlusMs(3600 * 1000);
  auto k = days.From(r.day);
  if (k == 0) {
    if (r.SecondOfDay() < e.FromTime) {
      r = r.At(e.FromTime);  // the day's first firing is the window start itself
    } else if (r.SecondOfDay() > e.ToTime) {
      k = days.From(r.day + 1);
      if (k) ++*k;
    }
  }
  if (!k) return std::nullopt;
  if (*k > 0) r = r.At(e.FromTime).PlusDays(*k);
  return r;
}

NextMoment NextSkip(const TSchedule& e, const Moment& now, const AllowedDays& days) {
  auto k = days.From(now.day);
  const int secs = now.SecondOfDay();
  const int next =
      secs < e.FromTime ? -1 : e.FromTime + ((secs - e.FromTime) / e.Seconds + 1) * e.Seconds;
  if (k == 0) {
    // A next of 24:00 (only reachable with a window ending at 24:00) is no time of this day;
    // it counts as past the window, so the next allowed day starts at the window start.
    if (next >= e.FromTime && next <= e.ToTime && next < kEndOfDaySeconds) {
      return now.At(next);
    }
    if (next < e.FromTime) return now.At(e.FromTime);
    k = days.From(now.day + 1);
    if (k) ++*k;
  }
  if (!k) return std::nullopt;
  return now.At(e.FromTime).PlusDays(*k);
}

NextMoment NextBgm(const TSchedule& e, const Moment& now, int recompute_flag,
                   const AllowedDays& days) {
  const auto k = days.From(now.day);
  const int64_t d_from = (e.FromTime - now.SecondOfDay()) * int64_t{1000} - now.Millisecond();
  const int64_t d_to = (e.ToTime - now.SecondOfDay()) * int64_t{1000} - now.Millisecond();
  const Moment start = now.PlusMs(d_from);
  if (recompute_flag > 0 && k == 0 && d_from <= 0 && d_to > 0) return start;
  if (!k) return std::nullopt;
  // Computed exactly at the window start (as right after it fired), the start has been
  // reached: it counts as passed so the music is not started a second time.
  if (*k != 0 || d_from > 0) return start.PlusDays(*k);
  const Moment s1 = start.PlusDays(1);
  const auto k1 = days.From(s1.day);
  if (!k1) return std::nullopt;
  return s1.PlusDays(*k1);
}

// Whether the computation is defined for the entry; the parser only makes entries that are.
bool IsComputable(const TSchedule& e) {
  if ((e.Weekdays & kEveryWeekday) == 0) return false;
  if (e.FromTime < 0 || e.ToTime > kEndOfDaySeconds || e.FromTime >= e.ToTime) return false;
  switch (e.Mode) {
    case imAt:
      return e.Seconds >= 0 && e.Seconds < kEndOfDaySeconds;
    case imSkip:
      return e.Seconds > 0 && e.Seconds < kEndOfDaySeconds;
    case imRegular:
      return e.Seconds >= 0 && e.Seconds < 3600;
    case imBGM:
      return true;
  }
  return false;
}

// Seconds of the day as hh:nn.ss, the diagnostic line's way of showing them.
std::string Hms(int seconds) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.02d:%.02d.%.02d", seconds / 3600, seconds % 3600 / 60,
                seconds % 60);
  return buf;
}

}  // namespace

int DaysToNextWeekday(int weekday, uint8_t set) {
  if ((set & kEveryWeekday) == 0) return 0;
  for (int k = 0; k < 7; ++k) {
    const int day = (weekday - 1 + k) % 7 + 1;
    if (set & (1u << day)) return k;
  }
  return 0;
}

TDateTime NextFiringTime(const TSchedule& entry, TDateTime now, int recompute_flag,
                         const HolidayCalendar& holidays, const TimetableCalendar* timetables) {
  if (!IsComputable(entry)) return 0;
  const Moment m = Moment::Of(now);
  const AllowedDays days(entry, holidays, timetables);
  NextMoment next;
  switch (entry.Mode) {
    case imAt:
      next = NextAt(entry, m, days);
      break;
    case imRegular:
      next = NextRegular(entry, m, days);
      break;
    case imSkip:
      next = NextSkip(entry, m, days);
      break;
    case imBGM:
      next = NextBgm(entry, m, recompute_flag, days);
      break;
  }
  return next ? next->ToDateTime() : 0;
}

std::string NextTimeLogLine(int index, const TSchedule& e, TDateTime next) {
  std::string days;
  for (int bit = 0; bit < 8; ++bit) {
    if (e.Weekdays & (1u << bit)) days += static_cast<char>('0' + bit);
  }
  char head[64];
  std::snprintf(head, sizeof head, "MakeNextTime (%d) [", index);
  char counts[96];
  std::snprintf(counts, sizeof counts, " cnt=%d evy=", e.RepeatCount);
  char tail[64];
  std::snprintf(tail, sizeof tail, " vol=%d cfm=%d (", e.Volume, e.ConfirmFlag ? 1 : 0);
  return head + FormatDateTime("yyyy/mm/dd(ddd) hh:nn.ss", next) + "] " +
         std::string(CommandName(e.Cmd)) + " " + std::string(ModeName(e.Mode)) + counts + days +
         tail + Hms(e.Seconds) + " " + Hms(e.FromTime) + "-" + Hms(e.ToTime) + ") msg=" + e.Msg;
}

}  // namespace chimewell
