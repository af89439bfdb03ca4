// Loading a large schedule script, and one tick's pass of next-time computations over it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/holiday_calendar.h"
#include "platform/file_system.h"
#include "schedule/next_time.h"
#include "schedule/schedule.h"

namespace chimewell {
namespace {

class AllFilesExist final : public FileSystem {
 public:
  bool FileExists(const std::string&) const override { return true; }
  std::optional<std::string> ReadFile(const std::string&, FileKind) const override { return std::nullopt; }
};

// 10,000 lines mixing every command, mode and option, one time each.
LineList LargeScript() {
  LineList lines;
  for (int i = 0; i < 10000; ++i) {
    const std::string h = std::to_string(i % 23);
    const std::string m = std::to_string(i % 59 + 1);
    switch (i % 6) {
      case 0:
        lines.push_back("Time \"[hour][min]\" At " + h + ":" + m);
        break;
      case 1:
        lines.push_back("Speak \"Good morning, it is [hour] o'clock\" At " + h + ":" + m +
                        ".15 Repeat 2 Every Mon Tue 水 木曜日");
        break;
      case 2:
        lines.push_back("Wave \"sounds/chime " + m + ".wav\" Skip " + m +
                        " from 9:00 to 17:00 Volume 40");
        break;
      case 3:
        lines.push_back("Speak \"[hour]時[min]分\" ALL " + m + ".30 from 8:00 to 22:00 Confirm");
        break;
      case 4:
        lines.push_back("Midi \"music/lunch.mid\" BGM from " + h + ":00 to " + h +
                        ":59 Every 土 日");
        break;
      default:
        lines.push_back("# a comment line");
        break;
    }
  }
  return lines;
}

void BM_LoadSchedule10000Lines(benchmark::State& state) {
  const AllFilesExist files;
  const auto lines = LargeScript();
  const HolidayCalendar holidays;
  Schedule schedule(files, {}, holidays);
  for (auto _ : state) {
    benchmark::DoNotOptimize(schedule.LoadSchedule(lines, 100));
  }
  state.counters["entries"] = static_cast<double>(schedule.ScheduleEntries().size());
}
BENCHMARK(BM_LoadSchedule10000Lines)->Unit(benchmark::kMillisecond);

void BM_MakeNextTime10000Entries(benchmark::State& state) {
  const AllFilesExist files;
  const HolidayCalendar holidays;
  Schedule schedule(files, {}, holidays);
  schedule.LoadSchedule(LargeScript(), 100);
  while (schedule.ScheduleEntries().size() < 10000) {
    schedule.ScheduleEntries().push_back(schedule.ScheduleEntries().front());
  }
  schedule.ScheduleEntries().resize(10000);
  const TDateTime now = 46361.0 + 0.53;
  for (auto _ : state) {
    auto& entries = schedule.ScheduleEntries();
    for (size_t i = entries.size(); i-- > 0;) {
      entries[i].NextTime = schedule.MakeNextTime(i, now, 1);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MakeNextTime10000Entries)->Unit(benchmark::kMicrosecond);

// The longest look for a day: holidays only, none within reach, every day asked about.
void BM_NextTimeForHolidaysOnlyWithNoneAhead(benchmark::State& state) {
  TSchedule entry;
  entry.Mode = imSkip;
  entry.Seconds = 900;
  entry.Holidays = HolidayRule::kOnlyHolidays;
  const HolidayCalendar holidays({{2020, 1, 1, "過ぎた休み"}});
  const TDateTime now = 46361.0 + 0.53;
  for (auto _ : state) benchmark::DoNotOptimize(NextFiringTime(entry, now, 0, holidays));
}
BENCHMARK(BM_NextTimeForHolidaysOnlyWithNoneAhead)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace chimewell
