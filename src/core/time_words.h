#pragma once
// The counters of spoken times and dates, and the halves of the day, shared by the speech
// templates and the reading rules.
#include <string_view>

namespace chimewell::time_words {

inline constexpr std::string_view kYear = "年";
inline constexpr std::string_view kMonth = "月";
inline constexpr std::string_view kDay = "日";
inline constexpr std::string_view kHour = "時";
inline constexpr std::string_view kMinute = "分";
inline constexpr std::string_view kSecond = "秒";
inline constexpr std::string_view kMorning = "午前";
inline constexpr std::string_view kAfternoon = "午後";

}  // namespace chimewell::time_words
