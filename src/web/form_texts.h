#pragma once
// The Japanese texts of the schedule, test and clock-face forms, kept in one place.
#include <string_view>

namespace chimewell::form_texts {

// Schedule forms.
inline constexpr std::string_view kScriptHasErrors = "スクリプトにエラーがあります";
inline constexpr std::string_view kEmptyScriptComment = "#スケジュールの設定はありません";

// Test commands.
inline constexpr std::string_view kBadTestMoment = "日付時刻指定に誤りがあります";
inline constexpr std::string_view kNoSuchFile = "指定のファイルがありません";

// Clock-face form: each problem is a part's prefix and one of the three problem texts.
inline constexpr std::string_view kDatePart = "日付";
inline constexpr std::string_view kDigitFontPart = "時刻";
inline constexpr std::string_view kDigitPositionPart = "時分";
inline constexpr std::string_view kAmPmPart = "AMPM";
inline constexpr std::string_view kSecondsPart = "秒";
inline constexpr std::string_view kColourPart = "色";
inline constexpr std::string_view kBadFont = "フォントの指定に問題があります<BR>\r\n";
inline constexpr std::string_view kBadFormat = "フォーマット指定に問題があります<BR>\r\n";
inline constexpr std::string_view kNegativePosition = "位置指定がマイナスです<BR>\r\n";
inline constexpr std::string_view kBadColour = "指定に問題があります<BR>\r\n";

}  // namespace chimewell::form_texts
