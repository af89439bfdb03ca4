#pragma once
// The file names of the recorded voice sets: one fixed list per voice type, and type 2's names.
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

// The voice types that play recorded voice sets.
inline constexpr int kFirstVoiceSetType = 1;
inline constexpr int kLastVoiceSetType = 5;

// The list of voice type 1, 3, 4 or 5 in load order; empty for any other type (type 2 has no
// fixed list: its files are read when an announcement needs them).
const std::vector<std::string>& VoiceList(int type);
// Position of `name` in the list of `type`, or -1 when the list has no such name.
int VoiceListIndex(int type, std::string_view name);

// Type 2 names.
std::string TypeTwoPhraseName(int n);         // [opt1] .. [opt25]
std::string TypeTwoWeekdayName(int weekday);  // 1 Sunday .. 7 Saturday
std::string TypeTwoMonthName(int month);      // 1..12
std::string TypeTwoDayName(int day);          // 1..31
std::string TypeTwoHourName(int hour);        // 0..23
std::string TypeTwoMinuteName(int minute);    // 0..59
inline constexpr int kTypeTwoPhraseCount = 25;
// Every name type 2 can ask for, for making a complete set.
std::vector<std::string> TypeTwoAllNames();

}  // namespace chimewell
