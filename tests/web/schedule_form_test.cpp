// The schedule forms: the lines the structured form builds and the script text split into lines.
#include "web/schedule_form.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

TEST(ScheduleFormTest, BuildsTheLineOfEachKindAndMode) {
  EXPECT_EQ(
      BuildScheduleLine({"SCHEADD=1", "SCHECMD=MESS", "SCHEARG=おはよう", "SCHEINTB=AT",
                         "SCHE1HOUR=7", "SCHE1MIN=30", "SCHEREPEAT=1", "SCHEW2=on", "SCHEW6=on"}),
      "Speak \"おはよう\" At 7:30 repeat 1 every 月 金");
  EXPECT_EQ(BuildScheduleLine({"SCHECMD=JIHO", "SCHEARG=[hour][min]", "SCHEINTA=ALL",
                               "SCHEALLMIN=30", "SCHE2HOUR=9", "SCHE2MIN=00", "SCHE3HOUR=17",
                               "SCHE3MIN=00", "SCHEREPEAT=1"}),
            "Time \"[hour][min]\" ALL 30 from 9:00 to 17:00 repeat 1");
  // Background music never repeats, whatever SCHEREPEAT says; no time item for BGM.
  EXPECT_EQ(
      BuildScheduleLine({"SCHECMD=MIDI", "SCHEARG=/music/a.mid", "SCHEINTB=BGM", "SCHE2HOUR=12",
                         "SCHE2MIN=00", "SCHE3HOUR=13", "SCHE3MIN=00", "SCHEREPEAT=3"}),
      "MIDI \"/music/a.mid\" BGM  from 12:00 to 13:00");
  // An empty SKIP interval is put in as sent; the parser will judge it.
  EXPECT_EQ(BuildScheduleLine({"SCHECMD=WAVE", "SCHEARG=a.wav", "SCHEINTB=SKIP", "SCHE2HOUR=1",
                               "SCHE2MIN=2", "SCHE3HOUR=3", "SCHE3MIN=4", "SCHEREPEAT=2",
                               "SCHEW1=1", "SCHEW7=1"}),
            "WAVE \"a.wav\" SKIP  from 1:2 to 3:4 repeat 2 every 日 土");
}

TEST(ScheduleFormTest, TheHolidayChoiceAddsItsOption) {
  const auto line = [](const char* choice) {
    return BuildScheduleLine({"SCHECMD=JIHO", "SCHEARG=[hour]", "SCHEINTA=AT", "SCHE1HOUR=8",
                              "SCHE1MIN=00", "SCHEREPEAT=1", "SCHEW2=1", choice});
  };
  EXPECT_EQ(line("SCHEHOLIDAY=ANY"), "Time \"[hour]\" At 8:00 repeat 1 every 月");
  EXPECT_EQ(line("SCHEHOLIDAY=SKIP"), "Time \"[hour]\" At 8:00 repeat 1 every 月 NoHoliday");
  EXPECT_EQ(line("SCHEHOLIDAY=ONLY"), "Time \"[hour]\" At 8:00 repeat 1 every 月 OnHoliday");
  EXPECT_EQ(line("SCHEHOLIDAY=only"), "Time \"[hour]\" At 8:00 repeat 1 every 月");
  EXPECT_EQ(line("OTHER=1"), "Time \"[hour]\" At 8:00 repeat 1 every 月");
}

TEST(ScheduleFormTest, KindIsCaseSensitiveAndPicksItsModeField) {
  // "mess" is not MESS: anything unknown plays music.
  EXPECT_EQ(BuildScheduleLine({"SCHECMD=mess", "SCHEARG=x", "SCHEINTA=ALL", "SCHEINTB=AT",
                               "SCHE1HOUR=1", "SCHE1MIN=2", "SCHEREPEAT=1"}),
            "MIDI \"x\" At 1:2 repeat 1");
  // A time signal reads SCHEINTA and ignores SCHEINTB.
  EXPECT_EQ(BuildScheduleLine({"SCHECMD=JIHO", "SCHEARG=x", "SCHEINTA=AT", "SCHEINTB=BGM",
                               "SCHE1HOUR=1", "SCHE1MIN=2", "SCHEREPEAT=1"}),
            "Time \"x\" At 1:2 repeat 1");
}

TEST(ScheduleFormTest, ArgumentIsTrimmedAndKeptValidUtf8) {
  EXPECT_EQ(BuildScheduleLine({"SCHECMD=MESS", "SCHEARG= \t こんにちは\r\n ", "SCHEINTB=AT",
                               "SCHE1HOUR=1", "SCHE1MIN=2", "SCHEREPEAT=1"}),
            "Speak \"こんにちは\" At 1:2 repeat 1");
  EXPECT_EQ(BuildScheduleLine({"SCHECMD=MESS", "SCHEARG=a\xFF", "SCHEINTB=AT", "SCHE1HOUR=1",
                               "SCHE1MIN=2", "SCHEREPEAT=1"}),
            "Speak \"a\xEF\xBF\xBD\" At 1:2 repeat 1");
}

TEST(ScheduleFormTest, ChoosesTheForm) {
  EXPECT_EQ(ChooseScheduleForm({"SCHEADD=1", "SCHEARG=x", "SCHESET=1"}),
            ScheduleFormKind::kAddLine);
  EXPECT_EQ(ChooseScheduleForm({"SCHEADD=", "SCHESET=1"}), ScheduleFormKind::kReplaceScript);
  EXPECT_EQ(ChooseScheduleForm({"SCHESET=", "CONTENTS=x"}), ScheduleFormKind::kNone);
}

TEST(ScheduleFormTest, ScriptTextSplitsAtEveryKindOfLineEnd) {
  EXPECT_EQ(ScriptTextLines("a\r\nb\nc\rd"), (LineList{"a", "b", "c", "d"}));
  EXPECT_EQ(ScriptTextLines("a\r\n\r\nb\r\n"), (LineList{"a", "", "b"}));
  EXPECT_EQ(ScriptTextLines(""), (LineList{"#スケジュールの設定はありません"}));
  EXPECT_EQ(ScriptTextLines("\xFF"), (LineList{"\xEF\xBF\xBD"}));
}

}  // namespace
}  // namespace chimewell
