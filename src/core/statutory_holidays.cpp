#include "core/statutory_holidays.h"

#include "core/equinox_days.h"

namespace chimewell {
namespace {

constexpr int kMonday = 2;

// The day of the month of its `nth` Monday.
int NthMonday(int year, int month, int nth) {
  const int first = WeekdayOfDate(year, month, 1);
  return 1 + (7 + kMonday - first) % 7 + 7 * (nth - 1);
}

HolidayKind OneOffDay(int year, int month, int day) {
  struct Day {
    int year, month, day;
    HolidayKind kind;
  };
  static constexpr Day kDays[] = {
      {1959, 4, 10, HolidayKind::kCrownPrinceAkihitoWedding},
      {1989, 2, 24, HolidayKind::kShowaFuneral},
      {1990, 11, 12, HolidayKind::kEnthronementCeremony1990},
      {1993, 6, 9, HolidayKind::kCrownPrinceNaruhitoWedding},
      {2019, 5, 1, HolidayKind::kEnthronement2019},
      {2019, 10, 22, HolidayKind::kEnthronementCeremony2019},
  };
  for (const Day& d : kDays) {
    if (d.year == year && d.month == month && d.day == day) return d.kind;
  }
  return HolidayKind::kNone;
}

HolidayKind January(int year, int day) {
  if (day == 1) return HolidayKind::kNewYear;
  const int coming_of_age = year < 2000 ? 15 : NthMonday(year, 1, 2);
  return day == coming_of_age ? HolidayKind::kComingOfAge : HolidayKind::kNone;
}

HolidayKind February(int year, int day) {
  if (day == 11 && year >= 1967) return HolidayKind::kFoundation;
  if (day == 23 && year >= 2020) return HolidayKind::kEmperorsBirthday;
  return HolidayKind::kNone;
}

HolidayKind April(int year, int day) {
  if (day != 29) return HolidayKind::kNone;
  if (year <= 1988) return HolidayKind::kEmperorsBirthday;
  return year <= 2006 ? HolidayKind::kGreenery : HolidayKind::kShowa;
}

HolidayKind May(int year, int day) {
  if (day == 3) return HolidayKind::kConstitution;
  if (day == 4 && year >= 2007) return HolidayKind::kGreenery;
  if (day == 5) return HolidayKind::kChildren;
  return HolidayKind::kNone;
}

// 2020 and 2021 moved 海の日, スポーツの日 and 山の日 around the Olympic Games.
HolidayKind July(int year, int day) {
  if (year == 2020) {
    return day == 23 ? HolidayKind::kMarine : day == 24 ? HolidayKind::kSports : HolidayKind::kNone;
  }
  if (year == 2021) {
    return day == 22 ? HolidayKind::kMarine : day == 23 ? HolidayKind::kSports : HolidayKind::kNone;
  }
  if (year < 1996) return HolidayKind::kNone;
  const int marine = year < 2003 ? 20 : NthMonday(year, 7, 3);
  return day == marine ? HolidayKind::kMarine : HolidayKind::kNone;
}

HolidayKind August(int year, int day) {
  if (year < 2016) return HolidayKind::kNone;
  const int mountain = year == 2020 ? 10 : year == 2021 ? 8 : 11;
  return day == mountain ? HolidayKind::kMountain : HolidayKind::kNone;
}

HolidayKind September(int year, int day) {
  if (day == AutumnalEquinoxDay(year)) return HolidayKind::kAutumnalEquinox;
  if (year < 1966) return HolidayKind::kNone;
  const int aged = year < 2003 ? 15 : NthMonday(year, 9, 3);
  return day == aged ? HolidayKind::kRespectForTheAged : HolidayKind::kNone;
}

HolidayKind October(int year, int day) {
  if (year < 1966 || year == 2020 || year == 2021) return HolidayKind::kNone;
  if (year < 2000) return day == 10 ? HolidayKind::kHealthAndSports : HolidayKind::kNone;
  if (day != NthMonday(year, 10, 2)) return HolidayKind::kNone;
  return year < 2020 ? HolidayKind::kHealthAndSports : HolidayKind::kSports;
}

HolidayKind November(int day) {
  if (day == 3) return HolidayKind::kCulture;
  if (day == 23) return HolidayKind::kLaborThanksgiving;
  return HolidayKind::kNone;
}

HolidayKind December(int year, int day) {
  return day == 23 && year >= 1989 && year <= 2018 ? HolidayKind::kEmperorsBirthday
                                                   : HolidayKind::kNone;
}

}  // namespace

int WeekdayOfDate(int year, int month, int day) {
  // Sakamoto's method: January and February count in the year before, so the leap day comes
  // last and the month offsets stay fixed.
  static constexpr int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  const int sunday_based =
      (year + year / 4 - year / 100 + year / 400 + kMonthOffset[month - 1] + day) % 7;
  return sunday_based + 1;
}

HolidayKind StatutoryHoliday(int year, int month, int day) {
  // The law came into force on 1948-07-20.
  if (year < kFirstHolidayYear || year > kLastHolidayYear) return HolidayKind::kNone;
  if (year == kFirstHolidayYear && (month < 7 || (month == 7 && day < 20))) {
    return HolidayKind::kNone;
  }
  if (const HolidayKind one_off = OneOffDay(year, month, day); one_off != HolidayKind::kNone) {
    return one_off;
  }
  switch (month) {
    case 1:
      return January(year, day);
    case 2:
      return February(year, day);
    case 3:
      return day == VernalEquinoxDay(year) ? HolidayKind::kVernalEquinox : HolidayKind::kNone;
    case 4:
      return April(year, day);
    case 5:
      return May(year, day);
    case 7:
      return July(year, day);
    case 8:
      return August(year, day);
    case 9:
      return September(year, day);
    case 10:
      return October(year, day);
    case 11:
      return November(day);
    case 12:
      return December(year, day);
    default:
      return HolidayKind::kNone;
  }
}

}  // namespace chimewell
