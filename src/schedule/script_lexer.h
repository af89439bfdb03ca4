#pragma once
// Reading one schedule script line: trimming, quoted items, clock times and weekday names.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

// The text without leading and trailing bytes 0..32 (blanks and control characters).
std::string_view TrimScheduleText(std::string_view text);

// Removes the quoting of one item: a quoted section's text is taken as it stands and a doubled
// quote inside it stands for one quote. False (result still filled) when a quote stays open.
bool UnquoteToken(std::string_view text, std::string& result);

// Splits a line into items at blanks, commas and tabs, keeping quoted items whole and dropping
// empty ones. Appends them in line order after what `items` holds. An item that cannot be
// unquoted becomes "#!ERROR ..." and the result is false.
bool SplitScheduleLine(std::string_view line, std::vector<std::string>& items);

// "[H:]M[.S]" in seconds (H 0..24, M and S 0..59), or -1 when it is not such a value.
int ParseClockTime(std::string_view text);

// A decimal number of ASCII digits only; -1 for anything else or for more than nine digits.
int ParseDecimal(std::string_view text);

// The 35 accepted weekday names, Sunday's five first; name p (from 1) is day (p-1)/5+1.
extern const std::array<std::string_view, 35> kWeekdayNames;
// The day 1 (Sunday) .. 7 (Saturday) a name stands for (compared byte for byte), or 0.
int WeekdayOfName(std::string_view name);

// ASCII case-insensitive comparison, used for the script's keywords.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace chimewell
