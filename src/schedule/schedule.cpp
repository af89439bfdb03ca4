#include "schedule/schedule.h"

#include <cstdio>
#include <utility>

#include "core/log.h"
#include "schedule/next_time.h"
#include "schedule/schedule_parser.h"
#include "schedule/schedule_texts.h"

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
  ParsedScheduleLine parsed;
  bool all_valid = true;
  const auto refused = [this, &all_valid](const ScheduleProblem& problem) {
    all_valid = false;
    if (reporting_.show_panel_message) reporting_.show_panel_message(problem.Text());
  };
  const auto valid = [this](const ParsedScheduleLine& line) {
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
      entries_.push_back(std::move(entry));
      if (Diagnosing()) AddDiagnostic(LoadLogLine("LOAD1", entries_.back()));
    }
  };
  ParseLines(lines, files_, default_volume, parsed, refused, valid);
  if (Diagnosing()) {
    for (const TSchedule& entry : entries_) AddDiagnostic(LoadLogLine("LOAD2", entry));
  }
  return all_valid;
}

TDateTime Schedule::MakeNextTime(size_t index, TDateTime now, int recompute_flag) const {
  if (index >= entries_.size()) return 0;
  const TDateTime next = NextFiringTime(entries_[index], now, recompute_flag, holidays_);
  if (Diagnosing()) {
    AddDiagnostic(NextTimeLogLine(static_cast<int>(index), entries_[index], next));
  }
  return next;
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
