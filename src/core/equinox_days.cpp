#include "core/equinox_days.h"

namespace chimewell {
namespace {

// The usual approximation of the equinox moment: a mean tropical year of 0.242194 days past
// 365, restarted by each leap day, with constants fitted to the computed equinoxes (one pair
// for the years before 1980, one after). The dates announced each February for the coming
// year agree with it; later years have no announced date and must rest on it.
int EquinoxDay(int year, double day_in_1980_before, double day_in_1980_after) {
  if (year < 1900 || year > 2099) return 0;
  const int since_1980 = year - 1980;
  if (year < 1980) {
    // Truncation towards zero, as the formula is stated, for the negative year counts too.
    return static_cast<int>(day_in_1980_before + 0.242194 * since_1980) -
           static_cast<int>((year - 1983) / 4);
  }
  return static_cast<int>(day_in_1980_after + 0.242194 * since_1980) - since_1980 / 4;
}

}  // namespace

int VernalEquinoxDay(int year) { return EquinoxDay(year, 20.8357, 20.8431); }

int AutumnalEquinoxDay(int year) { return EquinoxDay(year, 23.2588, 23.2488); }

}  // namespace chimewell
