#include "schedule/schedule_parser.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/memory_file_system.h"

namespace chimewell {
namespace {

class ParseScheduleLineTest : public ::testing::Test {
 protected:
  ParseScheduleLineTest() { files_.Add("chime.wav"); }

  int Parse(std::string_view line) {
    parsed_.volume = 100;
    return ParseScheduleLine(line, files_, parsed_);
  }

  testing::MemoryFileSystem files_;
  ParsedScheduleLine parsed_;
};

TEST_F(ParseScheduleLineTest, CommentsAndBlankLinesYieldNothing) {
  for (const char* line : {"", "  ", "# a note", "#!ERROR Speak x At 7:00", " \t# indented"}) {
    EXPECT_EQ(Parse(line), kScheduleComment) << line;
  }
}

using F = ScheduleFault;

struct ErrorCase {
  const char* line;
  int item;  // 1-based, as the user is shown
  ScheduleFault fault;
  const char* subject;  // the item the reason names
};

TEST_F(ParseScheduleLineTest, ReportsEachErrorAtItsItemWithItsReason) {
  const ErrorCase cases[] = {
      {"Speak \"Hello", 1, F::kUnbalancedQuotes, ""},
      {"Shout Hi At 7:00", 1, F::kUnknownCommand, "Shout"},
      {"\"\"", 1, F::kUnknownCommand, ""},  // nothing but an empty item
      {"Speak", 2, F::kNoMessage, ""},
      {"Wave missing.wav At 7:00", 2, F::kFileNotFound, "missing.wav"},
      {"Midi missing.mid BGM", 2, F::kFileNotFound, "missing.mid"},
      {"Speak '\"\"' At 7:00", 2, F::kEmptyMessage, ""},
      {"Speak Hi", 3, F::kNoMode, ""},
      {"Speak Hi Sometimes 7:00", 3, F::kUnknownMode, "Sometimes"},
      {"Time \"[hour]\" BGM from 9:00 to 10:00", 3, F::kTimeSignalAsMusic, ""},
      // The empty item is dropped, so "At" is the message and "7:00" the mode.
      {"Speak \"\" At 7:00", 3, F::kUnknownMode, "7:00"},
      {"Speak Hi At", 4, F::kNoTime, ""},
      {"Speak Hi At 24:00", 4, F::kBadTimeOfDay, "24:00"},
      {"Speak Hi At 25:00", 4, F::kBadTimeOfDay, "25:00"},
      {"Speak Hi Skip 0 5", 4, F::kBadInterval, "0"},  // interval 0 stops the list
      {"Speak Hi ALL 60", 4, F::kBadMinuteOfHour, "60"},
      // Weekday names are case-sensitive, so "sun" ends the list and is an unknown option.
      {"speak Hi at 7:00 every sun", 6, F::kUnknownOption, "sun"},
      {"Speak Hi At 7:00 Every 月 Confirm 火", 8, F::kUnknownOption, "火"},
      {"Speak Hi At 7:00 8:00 xyz", 6, F::kUnknownOption, "xyz"},
      {"Speak Hi At 7:00 Volume 0", 6, F::kBadVolume, "0"},
      {"Speak Hi At 7:00 Volume 101", 6, F::kBadVolume, "101"},
      {"Speak Hi At 7:00 Volume loud", 6, F::kBadVolume, "loud"},
      {"Speak Hi At 7:00 Repeat 0", 6, F::kBadRepeat, "0"},
      {"Speak Hi At 7:00 Repeat x", 6, F::kBadRepeat, "x"},
      // A value missing, or a window that is none, is reported one past the last item.
      {"Speak Hi At 7:00 Repeat", 6, F::kMissingValue, "Repeat"},
      {"Speak Hi At 7:00 Volume", 6, F::kMissingValue, "Volume"},
      {"Speak Hi At 7:00 from", 6, F::kMissingValue, "from"},
      {"Speak Hi At 7:00 from 10:00 to 9:00", 9, F::kEmptyWindow, ""},
      {"Speak Hi At 7:00 from 9:00 to 9:00", 9, F::kEmptyWindow, ""},
      {"Speak Hi At 7:00 to 24:01", 7, F::kBadWindowTime, "to 24:01"},
      {"Speak Hi At 7:00 from nine", 7, F::kBadWindowTime, "from nine"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.line) + 1, c.item) << c.line;
    EXPECT_EQ(parsed_.fault, c.fault) << c.line;
    EXPECT_EQ(parsed_.subject, c.subject) << c.line;
  }
  // A line that parses carries no reason from the line before it.
  EXPECT_EQ(Parse("Speak Hi At 7:00"), kScheduleLineValid);
  EXPECT_EQ(parsed_.fault, F::kNone);
}

TEST_F(ParseScheduleLineTest, ReadsATimeSignalWithSeveralTimes) {
  ASSERT_EQ(Parse("Time \"[hour][min]\" At 7:00 12:00 19:00"), kScheduleLineValid);
  EXPECT_EQ(parsed_.command, ctTime);
  EXPECT_EQ(parsed_.mode, imAt);
  EXPECT_EQ(parsed_.items[1], "[hour][min]");
  EXPECT_EQ(parsed_.times, (std::vector<int>{25200, 43200, 68400}));
  EXPECT_EQ(parsed_.weekdays, kEveryWeekday);
  EXPECT_EQ(parsed_.from_time, 0);
  EXPECT_EQ(parsed_.to_time, 86400);
  EXPECT_EQ(parsed_.repeat, 1);
  EXPECT_FALSE(parsed_.confirm);
}

TEST_F(ParseScheduleLineTest, ReadsOptionsWithTheLastOneWinning) {
  ASSERT_EQ(Parse("SPEAK 'Good morning' at 7:30 REPEAT 2 every Mon Tue Wed Thu Fri "
                  "Volume 40 volume 60 Confirm Every 土 日"),
            kScheduleLineValid);
  EXPECT_EQ(parsed_.command, ctSpeak);
  EXPECT_EQ(parsed_.items[1], "Good morning");
  EXPECT_EQ(parsed_.repeat, 2);
  EXPECT_EQ(parsed_.volume, 60);
  EXPECT_TRUE(parsed_.confirm);
  EXPECT_EQ(parsed_.weekdays, 0xFE);  // Mon..Fri plus Sat and Sun
  ASSERT_EQ(Parse("Speak Hi At 7:00 Every Mon Every"), kScheduleLineValid);
  EXPECT_EQ(parsed_.weekdays, 0x04);
  ASSERT_EQ(Parse("Speak Hi At 7:00 Every Confirm"), kScheduleLineValid);
  EXPECT_EQ(parsed_.weekdays, kEveryWeekday);  // an empty set means every day
}

TEST_F(ParseScheduleLineTest, ReadsTheHolidayOptionsInEveryModeAndSpelling) {
  using R = HolidayRule;
  const struct {
    const char* line;
    HolidayRule rule;
    uint8_t weekdays;
  } cases[] = {
      {"Speak Hi At 7:00", R::kAny, kEveryWeekday},
      {"Speak Hi At 7:00 NoHoliday", R::kSkipHolidays, kEveryWeekday},
      {"Speak Hi At 7:00 noholiday", R::kSkipHolidays, kEveryWeekday},
      {"Speak Hi At 7:00 祝日除く", R::kSkipHolidays, kEveryWeekday},
      {"Speak Hi At 7:00 ONHOLIDAY", R::kOnlyHolidays, kEveryWeekday},
      {"Speak Hi At 7:00 祝日のみ", R::kOnlyHolidays, kEveryWeekday},
      // The weekday list ends at the option; the option may stand anywhere among the others.
      {"Speak Hi At 7:00 Every 月 火 NoHoliday", R::kSkipHolidays, 0x0C},
      {"Speak Hi At 7:00 OnHoliday Every 日 Repeat 2", R::kOnlyHolidays, 0x02},
      {"Speak Hi At 7:00 NoHoliday 祝日除く", R::kSkipHolidays, kEveryWeekday},
      {"Speak Hi Skip 15 from 9:00 to 17:00 NoHoliday", R::kSkipHolidays, kEveryWeekday},
      {"Speak Hi ALL 0 30 祝日のみ", R::kOnlyHolidays, kEveryWeekday},
      {"Wave chime.wav BGM from 12:00 to 13:00 OnHoliday", R::kOnlyHolidays, kEveryWeekday},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Parse(c.line), kScheduleLineValid) << c.line;
    EXPECT_EQ(parsed_.holidays, c.rule) << c.line;
    EXPECT_EQ(parsed_.weekdays, c.weekdays) << c.line;
  }
  // Both on one line leave no day: refused at the second of them.
  for (const auto& [line, item, second] :
       {std::tuple{"Speak Hi At 7:00 NoHoliday OnHoliday", 6, "OnHoliday"},
        std::tuple{"Speak Hi At 7:00 祝日のみ Every 月 祝日除く", 8, "祝日除く"}}) {
    EXPECT_EQ(Parse(line) + 1, item) << line;
    EXPECT_EQ(parsed_.fault, F::kHolidayRuleClash) << line;
    EXPECT_EQ(parsed_.subject, second) << line;
  }
  // "祝日" alone is no option, and a line after a refused one starts from no rule.
  EXPECT_EQ(Parse("Speak Hi At 7:00 祝日") + 1, 5);
  EXPECT_EQ(parsed_.fault, F::kUnknownOption);
  ASSERT_EQ(Parse("Speak Hi At 7:00"), kScheduleLineValid);
  EXPECT_EQ(parsed_.holidays, R::kAny);
}

TEST_F(ParseScheduleLineTest, AcceptsTheModesTimeRanges) {
  ASSERT_EQ(Parse("Wave chime.wav Skip 15 from 9:00 to 17:00"), kScheduleLineValid);
  EXPECT_EQ(parsed_.times, std::vector<int>{900});
  EXPECT_EQ(parsed_.from_time, 32400);
  EXPECT_EQ(parsed_.to_time, 61200);
  ASSERT_EQ(Parse("Speak \"[hour]時[min]分\" ALL 0 30 59.59 from 8:00 to 22:00"),
            kScheduleLineValid);
  EXPECT_EQ(parsed_.times, (std::vector<int>{0, 1800, 3599}));
  EXPECT_EQ(parsed_.items[1], "[hour]時[min]分");
  ASSERT_EQ(Parse("Speak Hi At 0 23:59.59 to 24:00"), kScheduleLineValid);
  EXPECT_EQ(parsed_.times, (std::vector<int>{0, 86399}));
  EXPECT_EQ(Parse("Speak Hi Skip 23:59.59"), kScheduleLineValid);
  EXPECT_EQ(Parse("Speak Hi At 7:00 Volume 100"), kScheduleLineValid);
}

TEST_F(ParseScheduleLineTest, BgmTakesNoTimesAndKeepsThePresetVolume) {
  files_.Add("C:\\music\\lunch.mid");
  parsed_.volume = 70;
  ASSERT_EQ(ParseScheduleLine("Midi \"C:\\music\\lunch.mid\" BGM from 12:00 to 13:00 Every 土 日",
                              files_, parsed_),
            kScheduleLineValid);
  EXPECT_EQ(parsed_.command, ctMidi);
  EXPECT_EQ(parsed_.mode, imBGM);
  EXPECT_EQ(parsed_.items[1], "C:\\music\\lunch.mid");  // file paths are used unchanged
  EXPECT_EQ(parsed_.times, std::vector<int>{0});
  EXPECT_EQ(parsed_.weekdays, 0x82);
  EXPECT_EQ(parsed_.volume, 70);
  // "7:00" after BGM is no time but an unknown option.
  EXPECT_EQ(Parse("Speak Hi BGM 7:00"), 3);
}

TEST_F(ParseScheduleLineTest, RemovesOneOuterQuotePairFromMessages) {
  ASSERT_EQ(Parse("Speak '\"quoted\"' At 7:00"), kScheduleLineValid);
  EXPECT_EQ(parsed_.items[1], "quoted");
  ASSERT_EQ(Parse("Speak \"a, b  c\" At 7:00"), kScheduleLineValid);
  EXPECT_EQ(parsed_.items[1], "a, b  c");
  ASSERT_EQ(Parse("Speak '\"' At 7:00"), kScheduleLineValid);  // one quote is no pair
  EXPECT_EQ(parsed_.items[1], "\"");
}

}  // namespace
}  // namespace chimewell
