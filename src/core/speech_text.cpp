#include "core/speech_text.h"

#include "core/ascii_text.h"
#include "core/japanese_era.h"
#include "core/time_words.h"

namespace chimewell {
namespace {

// The words of spoken times and dates, kept together.
constexpr std::string_view kDefaultTemplate = "[AMPM][HOUR][MIN]です";
using time_words::kAfternoon;
using time_words::kMorning;

void ReplaceExact(std::string& text, std::string_view token, std::string_view value) {
  ReplaceEvery(text, token, value, false);
}
void ReplaceAnyCase(std::string& text, std::string_view token, std::string_view value) {
  ReplaceEvery(text, token, value, true);
}

std::string Number(int value, std::string_view suffix) {
  return std::to_string(value) + std::string(suffix);
}

std::string EraText(const DateTimeParts& date) {
  const auto era = JapaneseEraYear(date.year, date.month, date.day);
  // Eras before 明治 are not in our table; the Western year still tells the listener the year.
  if (!era) return Number(date.year, time_words::kYear);
  return std::string(era->name) + Number(era->year, time_words::kYear);
}

}  // namespace

std::string ExpandDefaultToken(std::string_view format, std::string_view replacement) {
  if (AsciiLowerCopy(format) == "default") return std::string(replacement);
  std::string text(format);
  ReplaceEvery(text, "[default]", replacement, true);
  return text;
}

std::string ExpandSpeechText(std::string_view tmpl, TDateTime moment,
                             const HolidayCalendar& holidays) {
  std::string text = ExpandDefaultToken(tmpl, kDefaultTemplate);

  const DateTimeParts parts = DecodeDateTime(moment);
  ReplaceAnyCase(text, "[wa]", EraText(parts));
  ReplaceAnyCase(text, "[year]", Number(parts.year, time_words::kYear));
  ReplaceAnyCase(text, "[mon]", Number(parts.month, time_words::kMonth));
  ReplaceAnyCase(text, "[day]", Number(parts.day, time_words::kDay));
  ReplaceAnyCase(text, "[wday]", LongWeekdayName(DayOfWeek(moment)));

  const int hour = parts.hour;
  const int minute = parts.minute;
  const int second = parts.second;

  // The upper-case tokens speak a larger unit only when no smaller one is being spoken.
  const std::string lower = AsciiLowerCopy(text);
  const bool no_seconds = second == 0 || lower.find("[sec]") == std::string::npos;
  const bool no_minutes = minute == 0 || lower.find("[min]") == std::string::npos;
  const bool hour_spoken = (no_minutes || minute % 10 == 0) && no_seconds;

  const std::string_view ampm = hour < 12 ? kMorning : kAfternoon;
  ReplaceExact(text, "[ampm]", ampm);
  ReplaceExact(text, "[AMPM]", no_minutes && no_seconds ? ampm : "");

  const std::string hour24 = Number(hour, time_words::kHour);
  ReplaceExact(text, "[hh24]", hour24);
  ReplaceAnyCase(text, "[hh24]", hour_spoken ? hour24 : "");

  const std::string hour12 = Number(hour == 12 ? 12 : hour % 12, time_words::kHour);
  ReplaceExact(text, "[hour]", hour12);
  ReplaceAnyCase(text, "[hour]", hour_spoken ? hour12 : "");

  const std::string minutes = Number(minute, time_words::kMinute);
  ReplaceExact(text, "[min]", minute > 0 ? minutes : "");
  ReplaceExact(text, "[MIN]", no_seconds ? minutes : "");

  ReplaceAnyCase(text, "[sec]", second > 0 ? Number(second, time_words::kSecond) : "");
  // Last, so that a name from the user's holiday file is never read as tokens.
  if (lower.find("[holiday]") != std::string::npos) {
    ReplaceAnyCase(text, "[holiday]", holidays.Name(moment));
  }
  return text;
}

std::string ExpandSpeechText(std::string_view tmpl, TDateTime moment) {
  return ExpandSpeechText(tmpl, moment, HolidayCalendar());
}

}  // namespace chimewell
