// Voice type 2: one file per month, day, weekday, hour, minute and phrase.
#include "timesignal/compose_rules.h"
#include "timesignal/voice_lists.h"

namespace chimewell::compose {

bool TypeTwoToken(const TokenContext& c, std::string_view lower, Names& out) {
  if (lower == "mon") {
    out.push_back(TypeTwoMonthName(c.time.month));
  } else if (lower == "day") {
    out.push_back(TypeTwoDayName(c.time.day));
  } else if (lower == "wday") {
    out.push_back(TypeTwoWeekdayName(c.weekday));
  } else if (lower == "hour" || lower == "hh24") {
    out.push_back(TypeTwoHourName(c.time.hour));
  } else if (lower == "min") {
    out.push_back(TypeTwoMinuteName(c.time.minute));
  } else if (const auto n = TokenNumber(lower, "opt"); n && *n >= 1 && *n <= kTypeTwoPhraseCount) {
    out.push_back(TypeTwoPhraseName(*n));
  } else {
    return false;
  }
  return true;
}

}  // namespace chimewell::compose
