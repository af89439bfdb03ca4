#pragma once
// The application object: owns every long-lived value of the program and carries start-up,
// the main tick, the menu commands, the status line and the message panel.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "app/announcement.h"
#include "app/announcement_queue.h"
#include "app/api_token_change.h"
#include "app/app_view.h"
#include "app/clock_status.h"
#include "app/message_bus.h"
#include "app/firing_outlet.h"
#include "app/firing_planner.h"
#include "app/firing_record.h"
#include "app/lasting_problems.h"
#include "app/menu_state.h"
#include "app/message_panel.h"
#include "app/signal_chime.h"
#include "core/api_token_list.h"
#include "core/holiday_calendar.h"
#include "core/holiday_file.h"
#include "core/log.h"
#include "core/moments.h"
#include "core/settings.h"
#include "display/clock_face.h"
#include "platform/desktop_busy_state.h"
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
class DesktopBusyWatcher;
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
  // Tells a lasting problem outside the window too (standard error); may be empty.
  std::function<void(const std::string&)> tell_outside = {};
};

// How a reason that calls or Do Not Disturb cannot be watched is told.
const char* BusyUnwatchedText(BusyUnavailable reason);

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
  // The port panel closed without a change: its field shows the port in use again.
  void PortCancelClick();
  void MessageButtonClick();
  void ShowPanelMessage(const std::string& text);
  void UpdateStatusLine(const std::optional<std::string>& text);
  void AddLogLine(const std::string& text) { log_.AddLogLine(text); }
  // A fault caught at a thread's entry or an event-loop boundary: logged and shown; the
  // program goes on.
  void ReportFault(const std::string& text);
  // A problem the sound or speech pieces report: logged and shown once; the sound output's
  // loss lasts until it is back.
  void ReportProblem(const std::string& message);
  // What keeps the clock from sounding now (no voice, no sound output), one line each, until
  // it is mended; the page shows them at its top.
  std::vector<std::string> CurrentProblems() const;
  // Why a test that sounds (`speaks`: through the speech engine) would not be heard; empty
  // when it would be.
  std::string WhyTestIsSilent(bool speaks) const;
  // The calls or Do Not Disturb that cannot be watched, told beside the busy setting.
  const std::vector<BusyUnavailable>& BusyUnwatched() const { return busy_unavailable_told_; }
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
  // The desktop's calls and Do Not Disturb as its watcher now sees them (UI thread): while it
  // is busy and the settings ask for it, announcements wait and background music rests
  // during a call.
  void DesktopBusyChanged(DesktopBusyState state);
  // Follows `watcher` (it must not outlive the application): its reports reach the two calls
  // beside this one on the UI thread.
  void WatchDesktop(DesktopBusyWatcher& watcher);
  // The watcher cannot follow one of its sources: each reason is told once (log and panel);
  // the clock plays as it would without the setting.
  void DesktopBusyUnavailable(BusyUnavailable reason);
  // From now on the tick's firings go to `recorder` instead of the playback workers (none:
  // they play again). For previewing the schedule in virtual time.
  void SetFiringRecorder(FiringRecorder* recorder) { outlet_.RecordTo(recorder); }

  // ---- state the window and the configuration page read ----
  const MenuState& Menu() const { return menu_; }
  const MessagePanel& Panel() const { return panel_; }
  const std::string& StatusText() const { return status_text_; }
  const std::string& NextEventText() const { return next_event_text_; }
  const DesktopBusyState& DesktopBusy() const { return desktop_busy_; }
  // The entry the status line names, as the last tick found it; none when nothing is due.
  const std::optional<UpcomingFiring>& NextFiring() const { return next_firing_; }
  const std::string& VersionText() const { return version_text_; }
  bool DebugMode() const { return app_info_.Debug; }
  const AppInfo& Info() const { return app_info_; }
  const AppSettings& App() const { return app_; }
  const ConfigSettings& Config() const { return config_; }
  const ClockSettings& ClockFace() const { return clock_settings_; }
  const ClockFaceState& FaceState() const { return face_state_; }
  const LineList& ScheduleLines() const { return schedule_lines_; }
  const Schedule& ScheduleData() const { return schedule_; }
  // The holiday file's lines as last loaded or saved, and the days they make.
  const LineList& HolidayLines() const { return holiday_lines_; }
  const HolidayCalendar& Holidays() const { return holidays_; }
  const TimeSignal& TimeSignalData() const { return time_signal_; }
  // What the Current command and the page's time-signal test announce by default.
  const std::string& TimeSignalFormat() const { return time_signal_.Settings().TimeSignalFormat; }
  const Playback& PlaybackData() const { return *playback_; }
  const Log& Logs() const { return log_; }
  const AppPaths& Paths() const { return deps_.paths; }
  int RecomputeFlag() const { return planner_.RecomputeFlag(); }
  void SetRecomputeFlag(int flag) { planner_.SetRecomputeFlag(flag); }
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
  // An edit of the user's days off, all or nothing like ReplaceSchedule: when every line of
  // `lines` reads, they are saved to the holiday file, become the calendar and every entry's
  // next moment is computed again; otherwise nothing changes and the problems come back.
  // Throws FileWriteError when the file cannot be written; the new days count then anyway.
  std::vector<HolidayFileProblem> ReplaceHolidays(LineList lines);
  // ---- timetables: named schedules beside the main one, picked for each day by the calendar ----
  // The calendar's lines as last loaded or saved, and a timetable's (none: empty).
  const LineList& CalendarLines() const { return calendar_lines_; }
  const LineList& TimetableLines(const std::string& name) const;
  const TimetableCalendar& Calendar() const { return schedule_.Calendar(); }
  // The timetable on the local date of `day`; empty for none.
  std::string TimetableOn(TDateTime day) const;
  // An edit of timetable `name`'s script, all or nothing as ReplaceSchedule; the problems,
  // line by line, headed by its name. Throws FileWriteError when the file cannot be written.
  std::vector<std::string> ReplaceTimetable(const std::string& name, LineList lines);
  // An edit of the calendar, all or nothing: saved, the timetables it names loaded (a new
  // name is an empty timetable), every entry's next moment computed again.
  std::vector<CalendarProblem> ReplaceCalendar(LineList lines);
  // Today's timetable becomes `name` (empty or なし: none) until the next midnight, and
  // back to the calendar's; false for a name the calendar does not know.
  bool ChangeToday(const std::string& name);
  void RevertToday();

  // The base settings form: the values take effect at once and are written to [Config]; when
  // `start_at_login` is given, the login entry is written or removed to match. Throws
  // FileWriteError when a file cannot be written.
  void ApplyBaseSettings(const ConfigSettings& config, std::optional<bool> start_at_login);
  bool StartsAtLogin() const;
  // The clock-face form: the settings and the debug grid take effect, the settings are written
  // to [Clock] and the face is drawn afresh. Throws FileWriteError when the file cannot be
  // written.
  void ApplyClockSettings(const ClockSettings& settings, bool debug_grid);
  // The whole face is drawn at the next tick, as after a clock-face form that was refused.
  void RedrawClockFace();
  // The time-signal form: `jiho` is written to [Jiho] with the recent folders of the file led
  // by its folder, then the time signal is loaded from the file. Returns the load report
  // (empty: no problem); the values stay saved when it found problems.
  std::string ApplyTimeSignalSettings(JihoSettings jiho);
  // The page's controls: the count item for `interval` seconds is checked (the tick takes it
  // from its next run); pause toggles; mute follows `muted`; skip ends what plays. Each runs
  // the menu's command and shows the new check marks.
  void ChooseCount(int interval);
  void TogglePause();
  void SetMuted(bool muted);
  void SkipPlaying();
  // The page's test commands: announces or speaks as for `moment`, or plays a sound or MIDI
  // file once at the default volume (false when there is no such file).
  void TestPlayTimeSignal(const std::string& format, TDateTime moment);
  void TestPlayMessage(const std::string& text, TDateTime moment);
  bool TestPlayFile(const std::string& path, TCommandType kind);
  // The hash of the password other machines must give, written to the settings file (empty:
  // none is asked for). Throws FileWriteError when the file cannot be written.
  void SetAccessPasswordHash(const std::string& hash);
  // A line for the debug log, written as it stands.
  void AddRawLogLine(const std::string& line);
  // The late limit for this run only, not saved: a preview in virtual time tries other limits.
  void OverrideLateLimit(int seconds);
  // ---- messages from other systems (the HTTP API, MQTT, a desktop shortcut) ----
  // Queues a message to be spoken after what is queued before it (at its moment when it has
  // one), never over the schedule's speech; refused when the queue is full, the moment has
  // passed by more than LateLimit, or the program is ending.
  AnnouncementResult SubmitAnnouncement(Announcement announcement);
  // Says the time now, as the menu's Current command.
  void SpeakCurrentTime();
  // A line from a desktop shortcut (see tell_request.h): carried out, and answered with "ok"
  // or "error " and the reason.
  std::string TellFromLine(std::string_view line);
  // What the clock is doing now.
  ClockStatus Status() const;
  // The named keys of other machines (their hashes): a new one is added under a name not yet
  // used; one is removed by its name. Throw FileWriteError when the file cannot be written.
  ApiTokenChange AddApiToken(const std::string& name, const std::string& hash);
  bool RemoveApiToken(const std::string& name);
  std::vector<ApiTokenRecord> ApiTokens() const;
  // The MQTT link (none: not built in); it must outlive the application or be detached. It is
  // configured from the settings file at once and told of every change of state.
  void AttachMessageBus(MessageBus* bus);
  // The [MQTT] form: written to the settings file, then the link follows them. Throws
  // FileWriteError when the file cannot be written; the link is then unchanged.
  void ApplyMqttSettings(const MqttSettings& mqtt);
  MqttSettings Mqtt() const;

  // Starts the configuration server on the configured port. A port that cannot be opened is
  // told in the log and the panel, and tried again every few seconds until it opens.
  bool StartServer();
  // The configuration page's address: this computer's name (or localhost) and the port.
  std::string ConfigPageAddress() const;

 private:
  void SetSkipEnabled(bool enabled);
  // The message worker is done with queued message `id`: the next one may follow.
  void AnnouncementFinished(uint64_t id);
  // Hands the next ready message to the message worker when it holds none of them.
  void FeedAnnouncements();
  // When the tick must run to hand over a message with a moment.
  std::optional<WallMoment> NextAnnouncementWake() const;
  // The timer's handler: runs `tick`; after a fault the timer is armed again, so the clock
  // goes on.
  void TimerFired(const std::function<void()>& tick);
  void DrawClock();
  TickMoment ReadMoment() const;
  // Records a lasting problem; news is logged, told outside the window and shown.
  void NoteProblem(LastingProblemKind kind, const std::string& text);
  // Whether the speech engine can speak, as a lasting problem.
  void CheckSpeech();
  // The configuration server's port, tried again once the pause after the last try is over.
  void RetryServer();
  // `wake`, or sooner when the server's port is to be tried again.
  std::optional<WallMoment> WakeForServer(const TickMoment& m,
                                          std::optional<WallMoment> wake) const;
  // Carries out what the planner found due: plays it, or logs what was passed over.
  void FireDue(const std::vector<DueEntry>& due);
  void Announce(const std::string& format, int repeat, const TickMoment& m, FiringKind kind);
  // What `entry` says (or plays) for the local moment `nominal`, as a preview shows it.
  std::string WhatItSays(const TSchedule& entry, TDateTime nominal) const;
  // The desktop's state and the busy setting, passed to the planner and the music.
  void FollowDesktopBusy();
  // The end of the quiet time the local moment `announced` lies in; none outside it.
  std::optional<TDateTime> QuietUntil(TDateTime announced) const;
  // Whether the count at `at` speaks: not while the desktop is busy, nor in the quiet hours
  // (logged once for each quiet time).
  bool CountMayPlay(const TickMoment& at);
  // Why the clock waits at `m`, for the status line; empty when it does not.
  std::string WaitingText(const TickMoment& m) const;
  // PlayTimeSignal, its first sound placed on the wall-clock moment `start_at` when given.
  TimeSignalOutcome PlayTimeSignalAt(const std::string& format, int repeat, TDateTime moment,
                                     std::optional<WallMoment> start_at);
  // The status line's next event and NextFiring: what is heard next after the entry `index`
  // the planner found, or nothing due.
  void NameNextFiring(const TickMoment& m, std::optional<size_t> index);
  // The first firing of any entry that the quiet hours let sound; none when every entry is
  // kept silent as far as it is followed.
  struct AudibleFiring {
    size_t index;
    TDateTime nominal;  // the local moment it names
  };
  std::optional<AudibleFiring> NextAudibleFiring(const TickMoment& m) const;
  // Has the speech of the announcements due within the preparation lead synthesized.
  void PrepareUpcoming(const std::vector<UpcomingAnnouncement>& upcoming);
  void RunDoubleClickAction();
  void OpenConfigPage();
  void TogglePortPanel();
  LineList ReadScheduleFile() const;
  LineList ReadLinesOf(const std::string& path) const;
  std::string TimetablePath(const std::string& name) const;
  // Reads the calendar (each bad line shown in the panel) and the timetables it names.
  void LoadTimetables();
  // Adds the timetables' entries to the schedule; false when a line had an error.
  bool LoadTimetableEntries();
  // The main schedule's entries, then the timetables', with their chime's lead; false when a
  // line had an error.
  bool LoadAllEntries();
  // Every entry loaded again after an edit: those left as they were keep their next moment
  // (and what was prepared for them), music whose line went away stops.
  void ApplyEntriesEdit();
  // Gives the schedule's time signals the lead their chime needs (none without one).
  void LeadTimeSignalsByTheirChime();
  // The calendar changed: every entry's next day is judged again.
  void FollowCalendarChange();
  // Reads the holiday file (none: no days of the user's own) into the calendar; each bad line
  // is shown in the panel, the good ones count.
  void LoadHolidays();

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
  LineList holiday_lines_;
  LineList calendar_lines_;
  std::map<std::string, LineList> timetable_lines_;
  HolidayCalendar holidays_;  // read by the schedule for its holiday options
  Schedule schedule_;
  FiringOutlet outlet_;  // where the firings and the time signal's announcements go
  TimeSignal time_signal_;
  FiringPlanner planner_;  // when the schedule's entries and the count are due
  std::unique_ptr<Playback> playback_;
  AnnouncementQueue announcements_;
  MessageBus* bus_ = nullptr;
  std::string version_text_;
  std::string next_event_text_;
  std::string status_text_;
  int exit_requested_ = 0;
  std::optional<UpcomingFiring> next_firing_;
  std::optional<SignalChime> signal_chime_;  // what scheduled time signals play first
  DesktopBusyState desktop_busy_;
  std::vector<BusyUnavailable> busy_unavailable_told_;
  std::optional<TDateTime> quiet_count_told_until_;  // the quiet time whose count was logged
  std::string waiting_text_;
  LastingProblems lasting_;
  // When the server's port, taken at start, is to be tried again; none once it serves.
  std::optional<ElapsedMoment> server_retry_at_;
  static constexpr std::chrono::seconds kServerRetryPause{3};
  bool running_ = false;
  bool closed_ = false;
};

}  // namespace chimewell
