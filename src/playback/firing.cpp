#include "playback/firing.h"

#include "core/speech_text.h"
#include "playback/playback.h"

namespace chimewell {

TDateTime TodayAt(TDateTime moment, int seconds) {
  const DateTimeParts p = DecodeDateTime(moment);
  const int64_t since_midnight = ((p.hour * 60LL + p.minute) * 60 + p.second) * 1000 + p.millisecond;
  return AddMilliseconds(moment, seconds * 1000LL - since_midnight);
}

std::string SpeakTextFor(const TSchedule& entry, TDateTime moment,
                         const HolidayCalendar& holidays) {
  return ExpandSpeechText(entry.Msg, entry.Mode == imBGM ? TodayAt(moment, entry.ToTime) : moment,
                          holidays);
}

void FireSpeak(Playback& playback, const TSchedule& entry, TDateTime moment,
               const HolidayCalendar& holidays, std::optional<WallMoment> start_at) {
  if (entry.Mode == imBGM) {
    playback.SetMessageUntil(SpeakTextFor(entry, moment, holidays), entry.Volume,
                             TodayAt(moment, entry.ToTime), start_at);
  } else {
    playback.SetMessageCount(SpeakTextFor(entry, moment, holidays), entry.Volume,
                             entry.RepeatCount, start_at);
  }
}

void FireWave(Playback& playback, const TSchedule& entry, TDateTime now,
              std::optional<WallMoment> mark_at) {
  if (entry.Mode == imBGM) {
    playback.SetWaveUntil(entry.Msg, TodayAt(now, entry.ToTime), mark_at);
  } else {
    playback.SetWaveCount(entry.Msg, entry.RepeatCount, mark_at);
  }
}

void FireMidi(Playback& playback, const TSchedule& entry, TDateTime now) {
  if (entry.Mode == imBGM) {
    playback.SetMidiUntil(entry.Msg, entry.Volume, TodayAt(now, entry.ToTime));
  } else {
    playback.SetMidiRepeat(entry.Msg, entry.Volume, entry.RepeatCount);
  }
}

void SpeakNow(Playback& playback, const std::string& text, int volume, int count,
              TDateTime moment, const HolidayCalendar& holidays) {
  playback.SetMessageCount(ExpandSpeechText(text, moment, holidays), volume, count);
}

}  // namespace chimewell
