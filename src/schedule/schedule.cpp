#include "schedule/schedule.h"

#include <cmath>
#include <cstdio>
#include <span>
#include <utility>

#include "core/log.h"
#include "platform/wave_file.h"
#include "schedule/next_time.h"
#include "schedule/schedule_parser.h"
#include "schedule/schedule_texts.h"
#include "schedule/timetable_texts.h"

namespace chimewell {

std::string ScheduleProblem::Text() const {
  return schedule_texts::LineErrorWithReason(line, item, fault, subject);
}

namespace {

// Parses every line, handing each refused one to `refused` and each valid one to `valid`.
template <typename Refused, typename Valid>
void ParseLines(const LineList& lines, const FileSystem& files, int default_volume,
                ParsedScheduleLine& parsed, Refused refused, Valid valid) {
  for (size_t i = 0; i < lines.size(); ++i) {
    parsed.volume = default_volume;
    const int result = ParseScheduleLine(lines[i], files, parsed);
    if (result == kScheduleComment) continue;
    if (result == kScheduleLineValid) {
      valid(parsed);
    } else {
      refused(ScheduleProblem{static_cast<int>(i + 1), result + 1, parsed.fault, parsed.subject});
    }
  }
}

}  // namespace

std::vector<ScheduleProblem> CheckScheduleLines(const LineList& lines, const FileSystem& files) {
  std::vector<ScheduleProblem> problems;
  ParsedScheduleLine parsed;
  // A check makes no entries, so the default volume they would get does not matter.
  constexpr int kAnyVolume = 100;
  ParseLines(
      lines, files, kAnyVolume, parsed,
      [&problems](ScheduleProblem problem) { problems.push_back(std::move(problem)); },
      [](const ParsedScheduleLine&) {});
  return problems;
}

Schedule::Schedule(const FileSystem& files, ScheduleReporting reporting,
                   const HolidayCalendar& holidays)
    : files_(files), reporting_(std::move(reporting)), holidays_(holidays) {}

bool Schedule::LoadSchedule(const LineList& lines, int default_volume) {
  entries_.clear();
  return AppendLines(lines, default_volume, "");
}

bool Schedule::AddTimetable(const std::string& name, const LineList& lines, int default_volume) {
  return AppendLines(lines, default_volume, name);
}

bool Schedule::AppendLines(const LineList& lines, int default_volume,
                           const std::string& timetable) {
  const size_t first_new = entries_.size();
  ParsedScheduleLine parsed;
  bool all_valid = true;
  const auto refused = [this, &all_valid, &timetable](const ScheduleProblem& problem) {
    all_valid = false;
    if (!reporting_.show_panel_message) return;
    reporting_.show_panel_message(
        timetable.empty() ? problem.Text() : timetable_texts::InTimetable(timetable, problem.Text()));
  };
  const auto valid = [this, &timetable](const ParsedScheduleLine& line) {
    for (const int seconds : line.times) {
      TSchedule entry;
      entry.Msg = line.items[1];
      entry.Cmd = line.command;
      entry.Mode = line.mode;
      entry.RepeatCount = line.repeat;
      entry.Seconds = seconds;
      entry.FromTime = line.from_time;
      entry.ToTime = line.to_time;
      entry.Weekdays = line.weekdays;
      entry.Holidays = line.holidays;
      entry.Volume = line.volume;
      entry.ConfirmFlag = line.confirm;
      entry.Timetable = timetable;
      if (entry.Cmd == ctWave) {
        entry.Msg = files_.Resolve(entry.Msg);
        entry.MarkMs = MarkOf(entry.Msg);
      }
      entries_.push_back(std::move(entry));
      if (Diagnosing()) AddDiagnostic(LoadLogLine("LOAD1", entries_.back()));
    }
  };
  ParseLines(lines, files_, default_volume, parsed, refused, valid);
  if (Diagnosing()) {
    for (size_t i = first_new; i < entries_.size(); ++i) {
      AddDiagnostic(LoadLogLine("LOAD2", entries_[i]));
    }
  }
  return all_valid;
}

TDateTime Schedule::MakeNextTime(size_t index, TDateTime now, int recompute_flag) const {
  if (index >= entries_.size()) return 0;
  const TDateTime next = NextFiringTime(entries_[index], now, recompute_flag, holidays_, &calendar_);
  if (Diagnosing()) {
    AddDiagnostic(NextTimeLogLine(static_cast<int>(index), entries_[index], next));
  }
  return next;
}

int32_t Schedule::MarkOf(const std::string& path) const {
  // A mark further in than this is taken for a file's own business, not a moment to keep.
  constexpr double kLongestMarkSeconds = 60.0;
  const auto bytes = files_.ReadFile(path, FileKind::kSound);
  if (!bytes) return 0;
  const auto clip =
      ParseWave(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()));
  if (!clip || !clip->mark_seconds || *clip->mark_seconds > kLongestMarkSeconds) return 0;
  return static_cast<int32_t>(std::lround(*clip->mark_seconds * 1000));
}

TDateTime Schedule::PeekNextTime(size_t index, TDateTime now) const {
  if (index >= entries_.size()) return 0;
  return NextFiringTime(entries_[index], now, 0, holidays_, &calendar_);
}

bool Schedule::Diagnosing() const { return reporting_.debug_mode && reporting_.log != nullptr; }

void Schedule::AddDiagnostic(const std::string& line) const { reporting_.log->AddLogLine(line); }

std::string LoadLogLine(const char* tag, const TSchedule& e) {
  char head[64];
  std::snprintf(head, sizeof head, "%s cmd=%d int=%d msg=", tag, static_cast<int>(e.Cmd),
                static_cast<int>(e.Mode));
  char times[96];
  std::snprintf(times, sizeof times, " %.02d:%.02d.%.03d from %.02d:%.02d to %.02d:%.02d",
                e.Seconds / 3600, e.Seconds % 3600 / 60, e.Seconds % 60, e.FromTime / 3600,
                e.FromTime % 3600 / 60, e.ToTime / 3600, e.ToTime % 3600 / 60);
  return head + e.Msg + times;
}

}  // namespace chimewell
