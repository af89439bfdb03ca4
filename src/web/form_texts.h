#pragma once
// The Japanese texts of the schedule, test and clock-face forms, kept in one place.
#include <string>
#include <string_view>

namespace chimewell::form_texts {

// Schedule forms.
inline constexpr std::string_view kScriptHasErrors = "スクリプトにエラーがあります";
inline constexpr std::string_view kEmptyScriptComment = "#スケジュールの設定はありません";
// After an addition, followed by the line that was added.
inline constexpr std::string_view kAddedOneLine = "1件追加しました：";
// The add form's request came again (the page was reloaded): nothing is added.
inline constexpr std::string_view kAlreadyAdded = "この予定はすでに追加されています";
// Below the problems the page lists, when there were more.
inline std::string MoreProblems(size_t count) { return "ほか " + std::to_string(count) + " 件"; }

// Holiday form.
inline constexpr std::string_view kHolidaysHaveErrors = "休日の一覧にエラーがあります";
inline constexpr std::string_view kHolidaysSaved = "休日の一覧を保存しました";
inline constexpr std::string_view kBaseSaved = "基本設定を保存しました";
// Beside the quiet-hours fields while both times are empty.
inline constexpr std::string_view kQuietOff = "（今は使っていません）";

// Base settings form: a value that was not stored as sent, and what was stored instead.
inline std::string ValueOutOfRange(std::string_view label, int low, int high, int stored) {
  return std::string(label) + "は" + std::to_string(low) + "～" + std::to_string(high) + "です。" +
         std::to_string(stored) + "にしました";
}
inline std::string ValueNotANumber(std::string_view label, std::string_view sent, int stored) {
  return std::string(label) + "の '" + std::string(sent) + "' は数ではありません。" +
         std::to_string(stored) + "にしました";
}
inline constexpr std::string_view kSpeakOffsetLabel = "早めに話し始める時間";
inline constexpr std::string_view kDoubleClickLabel = "ダブルクリックの動作";
inline constexpr std::string_view kDefaultVolumeLabel = "標準の音量";
inline constexpr std::string_view kBackVolumeLabel = "話している間のBGM音量";
inline constexpr std::string_view kLateLimitLabel = "遅れた予定を鳴らす猶予";
// Quiet hours: a time that is not one is refused, and the hours kept as they were.
inline std::string QuietTimeRefused(std::string_view label, std::string_view sent) {
  return std::string(label) + "の '" + std::string(sent) +
         "' は時刻ではありません（例 22:00）。静かにする時間は変えていません";
}
inline constexpr std::string_view kQuietFromLabel = "静かにする時間の始まり";
inline constexpr std::string_view kQuietToLabel = "静かにする時間の終わり";
inline constexpr std::string_view kQuietHalfGiven =
    "静かにする時間は始まりと終わりの両方を入れてください。今は静かにする時間はありません";
inline constexpr std::string_view kQuietSameTimes =
    "静かにする時間の始まりと終わりが同じです。今は静かにする時間はありません";
inline constexpr std::string_view kQuietNoDays =
    "静かにする曜日が選ばれていません。今は静かにする時間はありません";

// Test commands.
inline constexpr std::string_view kBadTestMoment = "日付時刻指定に誤りがあります";
inline constexpr std::string_view kNoSuchFile = "指定のファイルがありません";
// What a test from the page is doing, to confirm it.
inline constexpr std::string_view kPlayingTimeSignal = "時報を再生しています";
inline constexpr std::string_view kPlayingMessage = "メッセージを再生しています";
inline constexpr std::string_view kPlayingFile = "ファイルを再生しています";

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
