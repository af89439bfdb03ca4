#pragma once
// Every text the playback workers write to the log, kept together for review.
#include <string>
#include <string_view>

namespace chimewell::playback_texts {

inline constexpr std::string_view kMessagePrefix = "Set[Message]Thread ";
inline constexpr std::string_view kMidiPrefix = "Set[Midi]Thread ";
inline constexpr std::string_view kEndTimeLabel = " endTime:";
inline constexpr std::string_view kCountLabel = " count:";
inline constexpr std::string_view kRepeatLabel = " repeat:";
inline constexpr std::string_view kVolumeLabel = " vol=";
// The pattern of end times in the log lines.
inline constexpr std::string_view kEndTimePattern = "yyyy/mm/dd(ddd) hh:nn.ss.zzz";

// An announcement that would start more than LateLimit after its moment `at` (hh:nn.ss).
inline std::string PassedOverSpeech(const std::string& at, const std::string& text) {
  return "見送り " + at + " 『" + text + "』";
}
inline std::string PassedOverTimeSignal(const std::string& at) { return "見送り " + at + " の時報"; }

inline constexpr std::string_view kMidiPortFailed = "MIDIポートが開けません";
inline std::string MidiFileCannotOpen(const std::string& file) {
  return "[" + file + "]ファイルが開けません";
}
inline std::string MidiFileCannotPlay(const std::string& file) {
  return "[" + file + "]演奏できません";
}

}  // namespace chimewell::playback_texts
