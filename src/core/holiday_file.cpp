#include "core/holiday_file.h"

#include "core/date_words.h"
#include "core/holiday_texts.h"
#include "core/text_encoding.h"

namespace chimewell {
namespace {

std::string Reason(DateWordFault fault, std::string_view line) {
  return fault == DateWordFault::kNoSuchDay ? holiday_texts::NoSuchDay(QuotedFirstWord(line))
                                            : holiday_texts::NotADateForm(QuotedFirstWord(line));
}

}  // namespace

HolidayFileContents ParseHolidayFile(std::string_view text) {
  HolidayFileContents contents;
  ForEachContentLine(text, [&contents](int line_number, std::string_view line) {
    // The date is the leading run of digits and slashes; the name is what follows it.
    const size_t date_end = DatePrefixLength(line);
    DateWord date;
    const DateWordFault fault = ReadDateWord(line.substr(0, date_end), date);
    if (fault != DateWordFault::kNone) {
      contents.problems.push_back(
          {line_number, holiday_texts::LineError(line_number, Reason(fault, line))});
      return;
    }
    UserHoliday day{date.year, date.month, date.day, {}};
    const std::string_view name = TrimBlanks(line.substr(date_end));
    day.name = name.empty() ? std::string(holiday_texts::kUnnamedDay) : ToValidUtf8(name);
    contents.days.push_back(std::move(day));
  });
  return contents;
}

}  // namespace chimewell
