// libFuzzer entry point for the schedule line parser and the next-time rules it feeds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/file_system.h"
#include "schedule/next_time.h"
#include "schedule/schedule_parser.h"

namespace {

// Every other path exists, so Wave and Midi lines get past the file check too.
class AlternatingFileSystem final : public chimewell::FileSystem {
  using FileKind = chimewell::FileKind;

 public:
  bool FileExists(const std::string& path) const override { return path.size() % 2 == 0; }
  std::optional<std::string> ReadFile(const std::string&, FileKind) const override {
    return std::nullopt;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  static const AlternatingFileSystem files;
  ParsedScheduleLine parsed;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  if (ParseScheduleLine(line, files, parsed) != kScheduleLineValid) return 0;
  for (const int seconds : parsed.times) {
    TSchedule e;
    e.Mode = parsed.mode;
    e.Seconds = seconds;
    e.FromTime = parsed.from_time;
    e.ToTime = parsed.to_time;
    e.Weekdays = parsed.weekdays;
    e.Holidays = parsed.holidays;
    const TDateTime now = 46000.0 + static_cast<double>(size % 86400) / 86400.0;
    // Skipping holidays always leaves a day; a calendar without any leaves "holidays only" none.
    static const HolidayCalendar no_holidays;
    const TDateTime next = NextFiringTime(e, now, 0, no_holidays);
    const bool none_allowed = e.Holidays == HolidayRule::kOnlyHolidays;
    if (none_allowed ? next != 0 : !(next > now)) __builtin_trap();
  }
  return 0;
}
