#pragma once
// The texts the time signal shows in the message panel and on the settings page.
#include <string_view>

namespace chimewell::timesignal_text {

// Loading a voice set.
inline constexpr std::string_view kFileMissingSuffix = " ファイルがありません<BR>\r\n";
inline constexpr std::string_view kFileUnreadableSuffix = " ファイルが読めません<BR>\r\n";
inline constexpr std::string_view kUnsupportedTypeOnLoad =
    "現在サポートされていない時報タイプです\r\n";
// Shown at start-up when loading reported anything.
inline constexpr std::string_view kLoadFailed = "時報音声ファイルがロードできません";

// Composing an announcement.
inline constexpr std::string_view kUnsupportedTypeOnPlay =
    "現在機能していないタイプが指定されました\r\n";
inline constexpr std::string_view kNoFragments = "時報要素が指定されていません\r\n";
inline constexpr std::string_view kFormatErrorHeading = "時報指定にエラーがあります\r\n";
inline constexpr std::string_view kLeftOverSuffix = "]が余りました\r\n";
inline constexpr std::string_view kUnknownTokenSuffix = "]は使えません\r\n";
inline constexpr std::string_view kTypeTwoMissingSuffix = "]ファイルがありません\r\n";
inline constexpr std::string_view kTypeTwoUnreadableSuffix = "]ファイルが読めません\r\n";
inline constexpr std::string_view kAddOffMissingPrefix = "ファイル(";
inline constexpr std::string_view kAddOffMissingSuffix = ")がありません<BR>\r\n";
inline constexpr std::string_view kAddOffUnreadableSuffix = ")が読めません<BR>\r\n";

}  // namespace chimewell::timesignal_text
