#pragma once
// Every Japanese text the application shell shows, in one place.

#include <string>

namespace chimewell::texts {

inline constexpr const char* kMutedMark = "【消音】";
inline constexpr const char* kPausedMark = "【一時停止】";
inline constexpr const char* kCount05Mark = "【５秒毎カウント】";
inline constexpr const char* kCount10Mark = "【１０秒毎カウント】";
inline constexpr const char* kCount15Mark = "【１５秒毎カウント】";
inline constexpr const char* kCount30Mark = "【３０秒毎カウント】";
inline constexpr const char* kCount60Mark = "【６０秒毎カウント】";

inline constexpr const char* kNoSchedule = "スケジュールはセットされていません";
inline constexpr const char* kNextPrefix = "次は ";
inline constexpr const char* kTimeSignalSuffix = " の時報";
inline constexpr const char* kWaveSuffix = " のWave再生";
inline constexpr const char* kMidiSuffix = " のMidi音楽";
inline constexpr const char* kSpeakOpen = " 『";
inline constexpr const char* kSpeakClose = "』";
// After an entry of a named timetable: its name.
inline std::string InTimetable(const std::string& name) {
  return name.empty() ? std::string() : "（" + name + "）";
}
// Ends a text cut short to fit the line.
inline constexpr const char* kCutMark = "…";
// After the next event when the quiet hours will keep it silent (and nothing else is due).
inline constexpr const char* kKeptSilentMark = "（静かな時間）";
// A firing missed by a suspend or a clock step, too late to play: its log line, and the count
// of them in the panel.
inline constexpr const char* kPassedOverPrefix = "見送り ";
inline constexpr const char* kPassedOverCount = "件の予定を見送りました";
// Firings kept silent: in the quiet hours, or after waiting too long for a busy desktop.
inline constexpr const char* kQuietPrefix = "見送り（静かな時間） ";
inline constexpr const char* kCallPrefix = "見送り（通話中） ";
inline constexpr const char* kDoNotDisturbPrefix = "見送り（おやすみモード） ";
// Why a firing was not played, as a preview of the schedule names it.
inline constexpr const char* kQuietReason = "静かな時間";
inline constexpr const char* kCallReason = "通話中";
inline constexpr const char* kDoNotDisturbReason = "おやすみモード";
inline constexpr const char* kTooLateReason = "時間切れ";
// An entry that falls due during a call or Do Not Disturb and waits for it to end.
inline constexpr const char* kCallWaitPrefix = "待機（通話中） ";
inline constexpr const char* kDoNotDisturbWaitPrefix = "待機（おやすみモード） ";
// The second count in the quiet hours, logged once for each quiet time that ends at `end`.
inline std::string QuietCount(const std::string& end) { return "カウント（" + end + "まで）"; }
// Why the clock waits, on the status line.
inline constexpr const char* kWaitingForCall = "通話中のため待機中";
inline constexpr const char* kWaitingForDoNotDisturb = "おやすみモード中";
inline std::string QuietUntil(const std::string& end) { return "静かな時間（" + end + "まで）"; }
// The desktop's calls or Do Not Disturb cannot be followed: announcements play as ever.
inline constexpr const char* kCallsUnwatched =
    "通話中を検出できません（サウンドサーバーに接続できません）。予定はいつもどおり鳴ります";
inline constexpr const char* kDoNotDisturbUnwatched =
    "おやすみモードを検出できません（セッションバスがありません）。予定はいつもどおり鳴ります";

inline constexpr const char* kScheduleHasErrors = "設定スクリプトにエラーがあります";
inline constexpr const char* kVoiceFilesNotLoaded = "時報音声ファイルがロードできません";
inline constexpr const char* kNoAuthorUrl = "INIファイルにURL記述がありません";
inline constexpr const char* kPortRange = "ポート番号は 1～65535 の範囲です";
// The configuration page could not move to `port` (`why` as the server words it) and stays on
// `kept`; at start, with no page yet, it waits for its port to be free.
inline std::string PortUnavailable(int port, const std::string& why) {
  return "ポート " + std::to_string(port) + " は" + why;
}
inline std::string PortNotMoved(int port, const std::string& why, int kept) {
  return PortUnavailable(port, why) + "。" + std::to_string(kept) + " のままです";
}
inline std::string PortWaited(int port, const std::string& why) {
  return PortUnavailable(port, why) + "。空くまで数秒おきに試します";
}
inline constexpr const char* kInitialStatus = " 次の予定";
inline constexpr const char* kIdeographicSpace = "\u3000";

// Answers to a desktop shortcut's request that the clock cannot carry out.
inline constexpr const char* kTellUnknown = "分からない要求です（now, say 文, mute on|off）";
inline constexpr const char* kTellBadText = "文は UTF-8 で 1,000 文字までにしてください";
inline constexpr const char* kTellQueueFull = "話す順番待ちがいっぱいです";
inline constexpr const char* kTellEnding = "時計は終了するところです";

// The message panel's first line when `count` older lines no longer fit.
inline std::string PanelDroppedLines(size_t count) {
  return "ほか " + std::to_string(count) + " 件";
}

}  // namespace chimewell::texts
