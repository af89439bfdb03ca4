#pragma once
// Hands one due schedule entry to the playback workers.
#include <cstdint>
#include <optional>
#include <string>

#include "core/datetime.h"
#include "core/moments.h"
#include "schedule/schedule_entry.h"

namespace chimewell {

class HolidayCalendar;
class Playback;

// The moment `moment`'s day reaches the time of day `seconds` (0..86400).
TDateTime TodayAt(TDateTime moment, int seconds);

// What a speech entry says when it fires at `moment`: its template expanded for that moment,
// or for a BGM entry for the end of its window; `holidays` names the day for [holiday].
std::string SpeakTextFor(const TSchedule& entry, TDateTime moment,
                         const HolidayCalendar& holidays);
// Speech entry: SpeakTextFor queued, until the end of its window for a BGM entry. Its first
// words are placed on the wall-clock moment `start_at` when given.
void FireSpeak(Playback& playback, const TSchedule& entry, TDateTime moment,
               const HolidayCalendar& holidays, std::optional<WallMoment> start_at = std::nullopt);
// WAVE entry; `now` is the current time (a BGM entry plays until today at its window's end).
// The file's mark is placed on the wall-clock moment `mark_at` when given.
void FireWave(Playback& playback, const TSchedule& entry, TDateTime now,
              std::optional<WallMoment> mark_at = std::nullopt);
// MIDI entry; as FireWave.
void FireMidi(Playback& playback, const TSchedule& entry, TDateTime now);
// Speaks a template at once, expanded for `moment`.
void SpeakNow(Playback& playback, const std::string& text, int volume, int count,
              TDateTime moment, const HolidayCalendar& holidays);

}  // namespace chimewell
