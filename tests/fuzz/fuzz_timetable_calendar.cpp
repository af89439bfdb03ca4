// libFuzzer target: any bytes as a timetable calendar, decoded as the clock decodes it; every
// timetable it names may be a file's name, every problem names a line of the file, and asking
// for any day gives a timetable it names (or none).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "schedule/timetable_calendar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& text : {bytes, DecodeFileText(bytes)}) {
    std::vector<CalendarProblem> problems;
    const TimetableCalendar calendar = TimetableCalendar::Parse(text, problems);
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const std::string& name : calendar.Names()) {
      if (!IsTimetableName(name)) std::abort();
    }
    for (const CalendarProblem& problem : problems) {
      if (problem.line < 1 || problem.line > lines || !IsValidUtf8(problem.text)) std::abort();
    }
    const HolidayCalendar holidays;
    for (TDateTime day = 46000; day < 46400; day += 7) {
      const std::string name = calendar.On(day, holidays);
      if (!name.empty() && !calendar.Knows(name)) std::abort();
    }
  }
  return 0;
}
