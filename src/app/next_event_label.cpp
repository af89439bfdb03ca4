#include "app/next_event_label.h"

#include "app/texts.h"
#include "core/speech_text.h"
#include "core/text_encoding.h"

namespace chimewell {
namespace {

std::string MomentText(TDateTime nominal, TDateTime today) {
  if (DateOf(nominal) == DateOf(today)) return FormatDateTime("hh:nn.ss", nominal);
  const bool whole_minute = DecodeDateTime(nominal).second == 0;
  return FormatDateTime(whole_minute ? "m/d h:nn" : "m/d h:nn.ss", nominal);
}

}  // namespace

std::string CutWithMark(const std::string& text, size_t max_chars) {
  const std::string_view head = Utf8Prefix(text, max_chars);
  if (head.size() == text.size()) return text;
  return std::string(head) + texts::kCutMark;
}

std::string NextEventLabel(const TSchedule& entry, TDateTime nominal, TDateTime today,
                           const HolidayCalendar& holidays) {
  return WhatAndWhen(entry, nominal, today, holidays) + texts::InTimetable(entry.Timetable);
}

std::string WhatAndWhen(const TSchedule& entry, TDateTime nominal, TDateTime today,
                        const HolidayCalendar& holidays) {
  std::string text = texts::kNextPrefix + MomentText(nominal, today);
  switch (entry.Cmd) {
    case ctSpeak:
      return text + texts::kSpeakOpen +
             CutWithMark(ExpandSpeechText(entry.Msg, nominal, holidays), kQuotedTextChars) +
             texts::kSpeakClose;
    case ctTime:
      return text + texts::kTimeSignalSuffix;
    case ctWave:
      return text + texts::kWaveSuffix;
    case ctMidi:
      return text + texts::kMidiSuffix;
  }
  return text;
}

}  // namespace chimewell
