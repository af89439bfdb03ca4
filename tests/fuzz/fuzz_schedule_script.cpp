// libFuzzer target: any bytes as a whole schedule file, loaded as the program loads it at start,
// then every entry's next firing time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/holiday_calendar.h"
#include "schedule/schedule.h"
#include "schedule/script_text.h"
#include "support/memory_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  static testing::MemoryFileSystem files = [] {
    testing::MemoryFileSystem f;
    f.Add("a.wav");
    f.Add("b.mid");
    return f;
  }();
  size_t messages = 0;
  static const HolidayCalendar no_holidays;
  Schedule schedule(
      files, ScheduleReporting{[&messages](const std::string&) { ++messages; }, nullptr, false},
      no_holidays);
  const LineList lines =
      ScriptLinesFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  const bool ok = schedule.LoadSchedule(lines, 50);
  if (ok != (messages == 0)) __builtin_trap();
  const TDateTime now = 46000.0 + static_cast<double>(size % 86400) / 86400.0;
  for (size_t i = 0; i < schedule.ScheduleEntries().size(); ++i) {
    // Without holidays an entry for holidays only has no next moment; any other has one.
    const TDateTime next = schedule.MakeNextTime(i, now, 0);
    const bool none_allowed = schedule.ScheduleEntries()[i].Holidays == HolidayRule::kOnlyHolidays;
    if (none_allowed ? next != 0 : !(next > now)) __builtin_trap();
  }
  return 0;
}
