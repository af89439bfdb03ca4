// libFuzzer target: any bytes as a holiday file, decoded as the clock decodes it; every day it
// keeps is a real date with a well-formed name, and every problem names a line of the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/datetime.h"
#include "core/holiday_file.h"
#include "core/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& text : {bytes, DecodeFileText(bytes)}) {
    const HolidayFileContents contents = ParseHolidayFile(text);
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const UserHoliday& day : contents.days) {
      if (!IsValidDate(day.year.value_or(2000), day.month, day.day)) std::abort();
      if (day.name.empty() || !IsValidUtf8(day.name)) std::abort();
    }
    for (const HolidayFileProblem& problem : contents.problems) {
      if (problem.line < 1 || problem.line > lines || !IsValidUtf8(problem.text)) std::abort();
    }
  }
  return 0;
}
