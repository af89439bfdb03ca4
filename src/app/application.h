#pragma once
// The application object: owns every long-lived value of the program and carries start-up,
// the main tick, the menu commands, the status line and the message panel.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "app/app_view.h"
#include "app/firing_outlet.h"
#include "app/firing_record.h"
#include "app/menu_state.h"
#include "app/message_panel.h"
#include "core/log.h"
#include "core/settings.h"
#include "display/clock_face.h"
#include "playback/playback.h"
#include "schedule/schedule.h"
#include "timesignal/time_signal.h"

namespace chimewell {

class Clock;
class ConfigServer;
class FileSystem;
class FontCatalog;
class MidiLibrary;
class Shell;
class SoundPlayer;
class SpeechControl;
class Timer;
class UiThread;
class ZoneWatcher;

// The platform pieces the application drives; all outlive it.
struct AppDependencies {
  Clock& clock;
  Timer& timer;
  UiThread& ui;
  Shell& shell;
  const FileSystem& files;
  SoundPlayer& sound;
  SpeechControl& speech;
  MidiLibrary& midi;
  const FontCatalog& fonts;
  AppView& view;
  ConfigServer* server;  // none: the program runs without its configuration page
  AppPaths paths;
};

// Where a click that reaches the command handler came from, besides the menu items.
enum class ClickSource { Menu, ClockDoubleClick, TrayDoubleClick, AuthorLink };

class Application final {
 public:
  explicit Application(AppDependencies deps);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // ---- start-up, in three stages, and the end ----
  void FormCreate();
  void FormShow();
  void Timer1PreTimer();
  // Writes the window placement and clears all playback (the window is closing).
  void FormClose();
  // Closes the program as the Exit command does.
  void CloseMainWindow();

  // ---- the main tick: `timer_driven` false for a direct run, which fires nothing ----
  void Timer1Timer(bool timer_driven);

  // ---- commands ----
  // The one command handler. Check items (Pause, Mute, the count items) must already show
  // their new check mark: ChooseMenuItem does that for a click in the menu.
  void PM_MenuClick(MenuItem item, ClickSource source = ClickSource::Menu);
  // A click in the popup menu: toggles or moves the check mark, then runs the command.
  void ChooseMenuItem(MenuItem item);
  void PortButtonClick();
  void MessageButtonClick();
  void ShowPanelMessage(const std::string& text);
  void UpdateStatusLine(const std::optional<std::string>& text);
  void AddLogLine(const std::string& text) { log_.AddLogLine(text); }
  // A fault caught at a thread's entry or an event-loop boundary: logged and shown; the
  // program goes on.
  void ReportFault(const std::string& text);
  // Runs `step` (a command, a posted step) and reports what it throws; false when it threw.
  // UI thread.
  bool CatchFaults(const char* where, const std::function<void()>& step);
  // The speech synthesizer's sound began / ended (UI thread).
  void DirectSS1AudioStart();
  void DirectSS1AudioStop();
  // The configuration page asks the next tick to close the program.
  void RequestExit() { exit_requested_ = 1; }
  // The configuration page changed the menu's check marks; the window shows them anew.
  void MenuChanged() { deps_.view.MenuStateChanged(); }
  // Lets the timer run the tick `delay_ms` from now, as a timer-driven run.
  void ArmTick(int delay_ms);
  // Follows the machine's time zone as `watcher` tells of changes (it must not outlive the
  // application): the clock face, the status line and the next firing moments are read anew.
  void WatchZone(ZoneWatcher& watcher);
  // The time zone may have changed: reads it anew and follows it (UI thread).
  void FollowZoneChange();
  // From now on the tick's firings go to `recorder` instead of the playback workers (none:
  // they play again). For previewing the schedule in virtual time.
  void SetFiringRecorder(FiringRecorder* recorder) { outlet_.RecordTo(recorder); }

  // ---- state the window and the configuration page read ----
  const MenuState& Menu() const { return menu_; }
  MenuState& Menu() { return menu_; }
  const MessagePanel& Panel() const { return panel_; }
  const std::string& StatusText() const { return status_text_; }
  const std::string& NextEventText() const { return next_event_text_; }
  // The entry the status line names, as the last tick found it; none when nothing is due.
  const std::optional<UpcomingFiring>& NextFiring() const { return next_firing_; }
  const std::string& VersionText() const { return version_text_; }
  bool DebugMode() const { return app_info_.Debug; }
  const AppInfo& Info() const { return app_info_; }
  AppSettings& App() { return app_; }
  ConfigSettings& Config() { return config_; }
  ClockSettings& ClockFace() { return clock_settings_; }
  ClockFaceState& FaceState() { return face_state_; }
  LineList& ScheduleLines() { return schedule_lines_; }
  Schedule& ScheduleData() { return schedule_; }
  TimeSignal& TimeSignalData() { return time_signal_; }
  Playback& PlaybackData() { return *playback_; }
  Log& Logs() { return log_; }
  const AppPaths& Paths() const { return deps_.paths; }
  int RecomputeFlag() const { return recompute_flag_; }
  void SetRecomputeFlag(int flag) { recompute_flag_ = flag; }
  bool ExitRequested() const { return exit_requested_ != 0; }
  // True once the deferred start-up has run and the tick owns the timer.
  bool Running() const { return running_; }

  // Panel messages shown while a batch lives reach the window once, when the outermost batch
  // ends: a script of thousands of bad lines sets the panel's text once, not once a line.
  class PanelBatch {
   public:
    explicit PanelBatch(Application& app) : app_(app) { ++app_.panel_batch_depth_; }
    ~PanelBatch();
    PanelBatch(const PanelBatch&) = delete;
    PanelBatch& operator=(const PanelBatch&) = delete;

   private:
    Application& app_;
  };

  // Announces `moment` with `format`, as the menu, the schedule and the count do.
  TimeSignalOutcome PlayTimeSignal(const std::string& format, int repeat, TDateTime moment);
  // Loads the time-signal settings from the settings file; returns the load report.
  std::string ReloadTimeSignal();
  // Rebuilds the entries from ScheduleLines; false when a line had an error.
  bool ReloadSchedule();
  // A schedule edit, all or nothing. When every line of `lines` parses, they become the
  // schedule: playback is cleared, the entries are rebuilt, the file is saved and the next
  // times are computed afresh. Otherwise nothing changes (what runs, what is queued, the file)
  // and the problems come back, line by line. Throws FileWriteError when the file cannot be
  // written; the new schedule runs then anyway.
  std::vector<ScheduleProblem> ReplaceSchedule(LineList lines);
  // Adds one line to the running schedule, as ReplaceSchedule does for the script it makes.
  std::vector<ScheduleProblem> AddScheduleLine(std::string_view line);
  // The base settings form: the values take effect at once and are written to [Config]; when
  // `start_at_login` is given, the login entry is written or removed to match. Throws
  // FileWriteError when a file cannot be written.
  void ApplyBaseSettings(const ConfigSettings& config, std::optional<bool> start_at_login);
  bool StartsAtLogin() const;
  // Starts the configuration server on the configured port; reports a failure in the panel.
  bool StartServer();
  // The configuration page's address: this computer's name (or localhost) and the port.
  std::string ConfigPageAddress() const;

 private:
  // Announcements (speech and time signals, scheduled or counted) go to the message worker
  // this long before their moment, so that their first sound can be placed on it; their speech
  // is synthesized from this long before.
  static constexpr int64_t kHandOverLeadMs = 500;
  static constexpr int64_t kPrepareLeadMs = 3000;
  static bool AnnouncesAhead(const TSchedule& entry) {
    return entry.Cmd == ctSpeak || entry.Cmd == ctTime;
  }
  // What the count says at an announced second: the second, or the hour and minute at :00.
  static const char* CountFormat(int second) { return second != 0 ? "[sec]" : "[hour][min]"; }

  // One reading of the clocks for a run of the tick.
  struct TickMoment {
    int64_t wall = 0;            // wall clock, ms since 1970 UTC
    int64_t mono = 0;            // elapsed time
    TDateTime now = 0;           // the local time shown
    int64_t announced_wall = 0;  // wall + SpeakOffset: the moment an announcement names
    TDateTime announced = 0;     // ... as local time
  };

  void SetSkipEnabled(bool enabled);
  // The timer's handler: runs `tick`; after a fault the timer is armed again, so the clock
  // goes on.
  void TimerFired(const std::function<void()>& tick);
  void DrawClock();
  TickMoment ReadMoment() const;
  // Compares this run's clocks with the last run's: notes a suspend or a forward step for the
  // firing pass, and lets periodic entries follow a shown clock that went back.
  void NoteClockJumps(const TickMoment& m);
  void FollowShownClockBack(const TickMoment& m, int64_t elapsed);
  // Entry `index`'s next firing from the local moment `reference` (`not_before`: which of a
  // repeated hour's two moments is meant).
  void ComputeNextTime(size_t index, TDateTime reference, int64_t not_before);
  void FirePass(const TickMoment& m);
  // After passing over entry `index`'s moment slept through (`woke_at`: the wall clock at the
  // wake), moves it to its first moment that still counts; true when that is due now.
  bool CatchUpAfterWake(size_t index, const TickMoment& m, int64_t woke_at);
  int64_t LateLimitMs() const { return config_.LateLimit * 1000LL; }
  bool BackgroundWindowOpen(size_t index, TDateTime announced) const;
  void PassOver(const TSchedule& entry);
  void FireEntry(const TSchedule& entry, const TickMoment& m);
  void Announce(const std::string& format, int repeat, const TickMoment& m, FiringKind kind);
  // PlayTimeSignal, its first sound placed on the wall-clock moment `start_at_ms` when given.
  TimeSignalOutcome PlayTimeSignalAt(const std::string& format, int repeat, TDateTime moment,
                                     std::optional<int64_t> start_at_ms);
  void SecondCount(const TickMoment& m, int interval);
  // The clocks as they will read at `wall`, a moment shortly after `m`'s: what an announcement
  // handed over ahead of its moment names.
  TickMoment MomentAt(const TickMoment& m, int64_t wall) const;
  // The latest wall-clock moment at or before `wall` whose announced second the count speaks.
  int64_t CountMomentAtOrBefore(int64_t wall, int interval) const;
  // The count's moment after the one within the hand-over lead of `wall`.
  int64_t NextCountMoment(int64_t wall, int interval) const {
    return CountMomentAtOrBefore(wall + kHandOverLeadMs, interval) + interval * 1000LL;
  }
  // Has the speech of the announcements due within the preparation lead synthesized.
  // `next_count`: the count's next moment, when the count is on.
  void PrepareUpcoming(const TickMoment& m, std::optional<int64_t> next_count);
  // The wall-clock moment the tick must run at for `entry`: to prepare it, to hand it over,
  // or (music and sound files) as it falls due.
  int64_t WakeFor(const TSchedule& entry, int64_t now) const;
  // An announcement due at `due`: the tick wakes to prepare it, or, once that is past, to hand
  // it over.
  static int64_t AnnouncementWake(int64_t due, int64_t now);
  // Next firing times, the status text and NextFiring; returns the wall-clock moment the
  // hidden tick must wake at, if any.
  std::optional<int64_t> NextEventPass(const TickMoment& m, int count_interval);
  void RearmTimer(const TickMoment& m, std::optional<int64_t> wake);
  void RunDoubleClickAction();
  void OpenConfigPage();
  void TogglePortPanel();
  LineList ReadScheduleFile() const;

  AppDependencies deps_;
  Log log_;
  MenuState menu_;
  MessagePanel panel_;
  int panel_batch_depth_ = 0;
  bool panel_pending_ = false;
  AppSettings app_;
  ConfigSettings config_;
  ClockSettings clock_settings_;
  AppInfo app_info_;
  ClockFaceState face_state_;
  LineList schedule_lines_;
  Schedule schedule_;
  FiringOutlet outlet_;  // where the firings and the time signal's announcements go
  TimeSignal time_signal_;
  std::unique_ptr<Playback> playback_;
  std::string version_text_;
  std::string next_event_text_;
  std::string status_text_;
  int recompute_flag_ = 0;
  TDateTime recomputed_date_ = 0;  // the date whose change last raised recompute_flag_
  int exit_requested_ = 0;
  std::optional<UpcomingFiring> next_firing_;
  // The latest moment this run's firing pass handed over (it may lie a little ahead): the
  // entries fired are computed anew from just after it, not from now.
  std::optional<int64_t> handed_over_until_;
  // The clocks at the last run, to tell a jump of the wall clock from time passing.
  std::optional<TickMoment> last_moment_;
  // The wall clock when a suspend or a forward step was noticed, until the next firing pass.
  std::optional<int64_t> jumped_forward_at_;
  // The shown second the count last spoke, so that a second is counted once per run forward.
  int64_t last_count_second_ = INT64_MIN;
  bool running_ = false;
  bool closed_ = false;
};

}  // namespace chimewell
