#pragma once
// The time signal: holds the loaded settings and voice set, and announces a moment.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "core/moments.h"
#include "core/settings.h"
#include "timesignal/composition.h"
#include "timesignal/fragment_resolver.h"
#include "timesignal/time_signal_output.h"
#include "timesignal/time_signal_settings.h"

namespace chimewell {

class FileSystem;

// What became of one request to announce, for callers that show it (the tool, the tests).
struct TimeSignalOutcome {
  bool dropped = false;     // a voice announcement was still queued, so this one was not made
  bool queued = false;      // something was handed to the output
  std::string speech_text;  // voice type 0: the text queued for speaking
  std::vector<ComposedItem> items;  // voice types 1..5: the composed names and report lines
  ResolvedFragments resolved;       // ... and what they resolved to; report as composed
};

class TimeSignal {
 public:
  TimeSignal(const FileSystem& files, TimeSignalOutput& output);

  // Replaces the settings and the voice image; returns the load report (empty when all is
  // well). A voice announcement already queued keeps playing from the image it was given.
  std::string LoadTimeSignalSettings(const JihoSettings& jiho);

  // Announces `moment` with `format`, `repeat` times (at least once). `start_at`: the
  // wall-clock moment its first sound is to be heard at (ms since 1970); none: at once.
  TimeSignalOutcome PlayTimeSignal(std::string_view format, int repeat, TDateTime moment,
                                   std::optional<WallMoment> start_at = std::nullopt);

  // What a spoken announcement of `moment` with `format` says; empty with a voice set.
  std::string SpokenText(std::string_view format, TDateTime moment) const;

  // The holidays a spoken announcement's [holiday] names: the national ones until the user's
  // own days are given.
  void SetHolidays(HolidayCalendar holidays) { holidays_ = std::move(holidays); }

  // The volume of a spoken (voice type 0) announcement, the DefaultVolume setting.
  void SetDefaultVolume(int volume) { default_volume_ = volume; }

  const TimeSignalSettings& Settings() const { return settings_; }

 private:
  // One request to announce, as PlayTimeSignal takes it.
  struct Request {
    std::string_view format;
    int repeat = 1;
    TDateTime moment = 0;
    std::optional<WallMoment> start_at;
  };
  void PlaySpoken(const Request& request, TimeSignalOutcome& outcome);
  void PlayVoiceSet(const Request& request, TimeSignalOutcome& outcome);

  const FileSystem& files_;
  TimeSignalOutput& output_;
  TimeSignalSettings settings_;
  int default_volume_ = 100;
  HolidayCalendar holidays_;
};

}  // namespace chimewell
