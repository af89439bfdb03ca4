#pragma once
// Where the tick's firings and announcements go: the playback workers, or, while a recorder
// listens, the recorder alone. A preview of the schedule in virtual time plays nothing.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/firing_record.h"
#include "core/datetime.h"
#include "core/moments.h"
#include "schedule/schedule_entry.h"
#include "timesignal/time_signal.h"
#include "timesignal/time_signal_output.h"

namespace chimewell {

class HolidayCalendar;
class Log;
class Playback;

FiringKind FiringKindOf(TCommandType cmd);

// Used only by the thread that owns the application state.
class FiringOutlet final : public TimeSignalOutput {
 public:
  // `holidays` (which must outlive the outlet) names the day for a speech entry's [holiday].
  FiringOutlet(Log& log, const HolidayCalendar& holidays, std::function<void()> enable_skip,
               std::function<void(const std::string&)> show_panel);

  // The playback workers the firings go to; set once, before the first firing.
  void PlayTo(Playback& playback) { playback_ = &playback; }
  // From now on firings go to `recorder` (none: they play again).
  void RecordTo(FiringRecorder* recorder) { recorder_ = recorder; }
  bool Plays() const { return recorder_ == nullptr; }

  // An entry due at `due` is not played: slept through, kept silent or held too long, for
  // `reason`; `text` is what it would have said or played.
  void PassedOver(const TSchedule& entry, WallMoment due, std::string text, std::string reason);
  // The count at `at` kept silent for `reason`.
  void CountPassedOver(WallMoment at, std::string text, std::string reason);
  // A speech, sound-file or MIDI entry heard at `at` (a sound file's mark), naming `announced`;
  // `now` is the local time shown then.
  void Fire(const TSchedule& entry, WallMoment at, TDateTime announced, TDateTime now);
  // A chime whose mark is heard at `mark_at`.
  void PlayChime(const std::string& path, WallMoment mark_at);
  // An announcement composed for the moment `at`.
  void Announced(WallMoment at, FiringKind kind, const TimeSignalOutcome& outcome);

  // TimeSignalOutput. While a recorder listens, announcements are composed as ever but
  // queued nowhere.
  bool IsTimeSignalQueued() const override;
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int repeat,
                     std::optional<WallMoment> start_at) override;
  void SetMessageCount(const std::string& text, int volume, int count,
                       std::optional<WallMoment> start_at) override;
  void EnableSkip() override { enable_skip_(); }
  void AddLogLine(const std::string& text) override;
  void ShowPanelMessage(const std::string& text) override { show_panel_(text); }

 private:
  Log& log_;
  const HolidayCalendar& holidays_;
  std::function<void()> enable_skip_;
  std::function<void(const std::string&)> show_panel_;
  Playback* playback_ = nullptr;
  FiringRecorder* recorder_ = nullptr;
};

}  // namespace chimewell
