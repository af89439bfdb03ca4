#pragma once
// Every Japanese text the request handler itself produces, in one place.

namespace chimewell::handler_texts {

// The answer to any path but "/".
inline constexpr const char* kOtherPagePage =
    "<HTML><HEAD><TITLE>Chimewell - エラー</TITLE></HEAD><BODY><H1>他のページは表示できません</H1>"
    "<BR><BR><A href=\"javascript:window.close();\">このウィンドウを閉じる</A><BR><BR>"
    "<A href=\"/\">設定画面</A></BODY></HTML>";

// The add form sent without any text to add.
inline constexpr const char* kScheduleArgMissing =
    "時報書式/メッセージ/ファイルが指定されていません";

// A change sent without proof that it comes from this page (from another site, or from a page
// that hides where it comes from).
inline constexpr const char* kChangeNotFromOurPage =
    "この設定画面から送られたことを確かめられないため、変更しませんでした";

// Heading of the time-signal form's load report.
inline constexpr const char* kVoiceSettingsProblem = "時報音声ファイル設定に問題があります<BR>\r\n";

// The answer to the exit command, in the page's message area.
inline constexpr const char* kExited = "Chimewell を終了しました";

// What replaces each line break of the error text in the panel and in speech.
inline constexpr const char* kPanelLineEnd = "。";

}  // namespace chimewell::handler_texts
