#pragma once
// The loaded schedule: entries rebuilt from the script lines, and their next firing times.
#include <functional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/line_list.h"
#include "schedule/schedule_entry.h"
#include "schedule/schedule_parser.h"
#include "schedule/sound_names.h"
#include "schedule/timetable_calendar.h"

namespace chimewell {

class FileSystem;
class HolidayCalendar;
class Log;

// Where the schedule reports, connected by the application.
struct ScheduleReporting {
  // Shows one error message to the user (the message panel); may be left empty.
  std::function<void(const std::string&)> show_panel_message;
  // Receives the diagnostic lines, which are written only when `debug_mode` is on.
  Log* log = nullptr;
  bool debug_mode = false;
};

// One refused line: where (both counted from 1) and why.
struct ScheduleProblem {
  int line = 0;
  int item = 0;
  ScheduleFault fault = ScheduleFault::kNone;
  std::string subject;

  // "スクリプトの 2行目1項目めにエラーがあります：'Speek' は知らない命令です"
  std::string Text() const;
};

// The problems of a script, line by line, without loading it anywhere: what an edit is
// checked with before it may replace the running schedule.
std::vector<ScheduleProblem> CheckScheduleLines(const LineList& lines, const FileSystem& files);

class Schedule {
 public:
  // `files` answers whether the files of Wave and Midi lines exist; `holidays` (which must
  // outlive the schedule and may change between computations) decides the holiday options.
  Schedule(const FileSystem& files, ScheduleReporting reporting, const HolidayCalendar& holidays);

  // Rebuilds the entries from the script lines: one entry per time of every valid line, in
  // order. Each bad line yields one panel message (with its reason) and no entry; the others
  // still load.
  // Entries without a volume of their own get `default_volume`. False if any line failed.
  bool LoadSchedule(const LineList& lines, int default_volume);
  // Adds the entries of timetable `name`'s script after those loaded, as LoadSchedule does;
  // its bad lines are reported with its name. False if any line failed.
  bool AddTimetable(const std::string& name, const LineList& lines, int default_volume);

  // Which timetable applies on which day; entries of a timetable follow it.
  void SetCalendar(TimetableCalendar calendar) { calendar_ = std::move(calendar); }
  TimetableCalendar& Calendar() { return calendar_; }
  const TimetableCalendar& Calendar() const { return calendar_; }

  // Entry `index`'s next nominal firing moment for the announced moment `now`, 0 for none
  // (and for an index outside the list); logs it in debug mode.
  TDateTime MakeNextTime(size_t index, TDateTime now, int recompute_flag) const;

  // As MakeNextTime, without the diagnostic line: for looking ahead, not for firing.
  TDateTime PeekNextTime(size_t index, TDateTime now) const;

  // The files its lines name, the built-in chimes by name among them: what an edit is checked
  // against.
  SoundNames& Files() { return files_; }
  const SoundNames& Files() const { return files_; }

  std::vector<TSchedule>& ScheduleEntries() { return entries_; }
  const std::vector<TSchedule>& ScheduleEntries() const { return entries_; }

  void SetDebugMode(bool on) { reporting_.debug_mode = on; }

 private:
  bool Diagnosing() const;
  void AddDiagnostic(const std::string& line) const;

  // Appends one entry per time of every valid line, of `timetable` (empty: the main one).
  bool AppendLines(const LineList& lines, int default_volume, const std::string& timetable);
  // Where a sound file entry's mark lies, read from the file.
  int32_t MarkOf(const std::string& path) const;

  SoundNames files_;
  ScheduleReporting reporting_;
  const HolidayCalendar& holidays_;
  TimetableCalendar calendar_;
  std::vector<TSchedule> entries_;
};

// The debug-mode line describing a loaded entry; `tag` is "LOAD1" or "LOAD2".
std::string LoadLogLine(const char* tag, const TSchedule& entry);

}  // namespace chimewell
