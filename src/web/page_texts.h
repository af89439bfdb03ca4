#pragma once
// Every Japanese text of the configuration page that the program itself produces, in one place.

namespace chimewell::page_texts {

inline constexpr const char* kMissingTemplatePage =
    "<HTML><HEAD><TITLE>Chimewell - エラー</TITLE></HEAD><BODY>"
    "設定ファイル（Chimewell.html）が見つかりません</BODY></HTML>";

inline constexpr const char* kErrorHeading =
    "<FONT color=red><B><I>以下の問題が発見されたため、設定は保存されませんでした</I></B></FONT>"
    "<SMALL><BR>";
// The same block for problems that did not stop a save: a test that could not run, or settings
// that were saved and then found wanting.
inline constexpr const char* kProblemHeading =
    "<FONT color=red><B><I>以下の問題が発見されました</I></B></FONT><SMALL><BR>";
inline constexpr const char* kSavedWithProblemsHeading =
    "<FONT color=red><B><I>設定は保存しましたが、以下の問題が発見されました</I></B></FONT>"
    "<SMALL><BR>";
inline constexpr const char* kErrorTail = "<BR></SMALL><HR>\r\n";
// What keeps the clock from sounding, for as long as it lasts, above everything else.
inline constexpr const char* kLastingHead =
    "<DIV class=\"problems\"><B>Chimewell は今、音を出せません</B><UL>";
inline constexpr const char* kLastingTail = "</UL></DIV>\r\n";
// What a request did, to confirm it, below any problems.
inline constexpr const char* kNoticeHead = "<DIV class=\"notice\"><B>";
inline constexpr const char* kNoticeTail = "</B></DIV>\r\n";

// The first entry of a font list when no font is set.
inline constexpr const char* kStandardFontOption =
    "<OPTION value=\"\" SELECTED>（標準のフォント）</OPTION>\r\n";

inline constexpr const char* kPause = "一時停止";
inline constexpr const char* kPauseResume = "から再開";
inline constexpr const char* kMute = "消音";
inline constexpr const char* kMuteRelease = "を解除";
inline constexpr const char* kDo = "する";

inline constexpr const char* kDefaultTestMessage =
    "[wa]西暦[year][mon][day][wday]、[ampm][hour][min][sec]、本日は晴天なり";
inline constexpr const char* kLastFileOpen = "前回のファイルは「";
inline constexpr const char* kLastFileClose = "」";

}  // namespace chimewell::page_texts
