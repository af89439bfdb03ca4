#pragma once
// Every text the sound output, the speech engine and the time-zone watcher show the user (in the
// log and the panel), kept together for review. Each is told once per episode by its owner.
#include <string>

namespace chimewell::platform_texts {

// The sound device went away, and came back.
inline constexpr char kOutputLost[] = "サウンド出力が使えません";
inline constexpr char kOutputBack[] = "サウンド出力を再開しました";

// The WAV capture file named on the command line.
inline std::string CaptureCannotCreate(const std::string& path) {
  return "録音ファイル " + path + " を作れません。音は出力されません";
}
inline std::string CaptureCannotWrite(const std::string& path) {
  return "録音ファイル " + path + " に書き込めません";
}

// Finding Open JTalk at start-up: what is missing, and the package that brings it. The voice
// is only recommended by our package (it lives in Debian's contrib component).
inline constexpr char kNoSpeechEngine[] =
    "音声が出ません：音声合成エンジン Open JTalk がありません。open-jtalk を入れてください";
inline constexpr char kNoSpeechDictionary[] =
    "音声が出ません：Open JTalk の辞書がありません。open-jtalk-mecab-naist-jdic を入れてください";
inline constexpr char kNoSpeechVoice[] =
    "音声が出ません：hts-voice-nitech-jp-atr503-m001 (contrib) を入れてください";

// One utterance.
inline constexpr char kSynthesisFailed[] = "音声合成に失敗しました";
inline constexpr char kNoSynthesisFolder[] = "音声が出ません：音声合成の作業フォルダを作れません";
inline constexpr char kSynthesisTimedOut[] = "音声合成が終わらないため打ち切りました";

inline constexpr char kCannotWatchZone[] =
    "タイムゾーンの変更を見張れません。変更は再起動まで反映されません";

}  // namespace chimewell::platform_texts
