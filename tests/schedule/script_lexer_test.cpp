#include "schedule/script_lexer.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

using Items = std::vector<std::string>;

Items Split(std::string_view line, bool expect_ok = true) {
  Items items;
  EXPECT_EQ(SplitScheduleLine(line, items), expect_ok) << line;
  return items;
}

TEST(UnquoteToken, HandlesSectionsDoubledQuotesAndOpenQuotes) {
  std::string out;
  EXPECT_TRUE(UnquoteToken("\"Hello World\"", out));
  EXPECT_EQ(out, "Hello World");
  EXPECT_TRUE(UnquoteToken("'it''s'", out));
  EXPECT_EQ(out, "it's");
  EXPECT_TRUE(UnquoteToken("\"say 'hi'\"", out));  // the other quote is a literal inside
  EXPECT_EQ(out, "say 'hi'");
  EXPECT_TRUE(UnquoteToken("a\"b c\"d", out));
  EXPECT_EQ(out, "ab cd");
  EXPECT_TRUE(UnquoteToken("\"a\"'b'", out));  // one section ends, the next opens at once
  EXPECT_EQ(out, "ab");
  EXPECT_TRUE(UnquoteToken("", out));
  EXPECT_EQ(out, "");
  EXPECT_FALSE(UnquoteToken("\"", out));
  EXPECT_FALSE(UnquoteToken("'abc", out));
  EXPECT_FALSE(UnquoteToken("\"\"x\"", out));
}

TEST(SplitScheduleLine, SplitsAtBlanksCommasAndTabsDroppingEmptyItems) {
  EXPECT_EQ(Split("  Speak,Hi\t At  7:00 , 8:00\r\n"),
            (Items{"Speak", "Hi", "At", "7:00", "8:00"}));
  EXPECT_EQ(Split("Speak \"\" At 7:00"), (Items{"Speak", "At", "7:00"}));
  EXPECT_EQ(Split(""), Items{});
}

TEST(SplitScheduleLine, KeepsQuotedItemsWhole) {
  EXPECT_EQ(Split("Speak \"a, b  c\" At 7:00"), (Items{"Speak", "a, b  c", "At", "7:00"}));
  EXPECT_EQ(Split("Speak \"one two three four five\" At 7:00"),
            (Items{"Speak", "one two three four five", "At", "7:00"}));
  EXPECT_EQ(Split("Speak 'it''s a test' At 7:00"), (Items{"Speak", "it's a test", "At", "7:00"}));
  EXPECT_EQ(Split("\"a b\" \"c d\""), (Items{"a b", "c d"}));
  EXPECT_EQ(Split("Speak \"x 'y z' w\" At"), (Items{"Speak", "x 'y z' w", "At"}));
  // Appends after what the caller already holds.
  Items items{"kept"};
  EXPECT_TRUE(SplitScheduleLine("a b", items));
  EXPECT_EQ(items, (Items{"kept", "a", "b"}));
}

TEST(SplitScheduleLine, MarksUnbalancedQuotes) {
  EXPECT_EQ(Split("Speak \"Hello", false), (Items{"Speak", "#!ERROR \"Hello"}));
  EXPECT_EQ(Split("\"Hello", false), (Items{"#!ERROR \"Hello"}));
  const Items items = Split("Speak Hello\" At 7:00", false);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front().rfind("#!ERROR ", 0), 0u);
}

TEST(SplitScheduleLine, StaysLinearOnLongLinesOfDoubledQuotes) {
  // Every opening-quote candidate fails here, which must not cost a rescan of the whole item.
  std::string line;
  for (int i = 0; i < 200000; ++i) line += "\"\" ";
  line += "x\"";
  // A quadratic split would run for hours here and hit the test time-out.
  Items items;
  EXPECT_FALSE(SplitScheduleLine(line, items));
  EXPECT_EQ(items.front().rfind("#!ERROR ", 0), 0u);
}

TEST(ParseClockTime, ReadsHoursMinutesAndSeconds) {
  EXPECT_EQ(ParseClockTime("7:30"), 27000);
  EXPECT_EQ(ParseClockTime("7:30.15"), 27015);
  EXPECT_EQ(ParseClockTime("30"), 1800);
  EXPECT_EQ(ParseClockTime("0.30"), 30);
  EXPECT_EQ(ParseClockTime("24:00"), 86400);
  EXPECT_EQ(ParseClockTime("24:59.59"), 89999);  // syntax only; callers check the range
  EXPECT_EQ(ParseClockTime("0"), 0);
  for (const char* bad : {"", ":", "7:", ":30", "7:30.", "25:00", "7:60", "7:30.60", "7.30:15",
                          "1:2:3", "a", "-1", "+5", "7:3x", "9999999999"}) {
    EXPECT_EQ(ParseClockTime(bad), -1) << bad;
  }
}

TEST(WeekdayNames, MapAllThirtyFiveSpellingsCaseSensitively) {
  for (size_t p = 0; p < kWeekdayNames.size(); ++p) {
    EXPECT_EQ(WeekdayOfName(kWeekdayNames[p]), static_cast<int>(p / 5) + 1) << kWeekdayNames[p];
  }
  EXPECT_EQ(WeekdayOfName("日曜日"), 1);
  EXPECT_EQ(WeekdayOfName("土"), 7);
  EXPECT_EQ(WeekdayOfName("Wednesday"), 4);
  EXPECT_EQ(WeekdayOfName("sun"), 0);
  EXPECT_EQ(WeekdayOfName("SUN"), 0);
  EXPECT_EQ(WeekdayOfName("Su"), 0);
}

}  // namespace
}  // namespace chimewell
