#include "schedule/schedule.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/holiday_calendar.h"
#include "core/log.h"
#include "support/fake_clock.h"
#include "support/memory_file_system.h"

namespace chimewell {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;

class LoadScheduleTest : public ::testing::Test {
 protected:
  Schedule MakeSchedule(bool debug) {
    ScheduleReporting reporting;
    reporting.show_panel_message = [this](const std::string& text) { panel_.push_back(text); };
    reporting.log = &log_;
    reporting.debug_mode = debug;
    return Schedule(files_, reporting, holidays_);
  }

  testing::MemoryFileSystem files_;
  HolidayCalendar holidays_;
  testing::FakeClock clock_;
  Log log_{clock_};
  std::vector<std::string> panel_;
};

TEST_F(LoadScheduleTest, EmptyAndCommentOnlyScriptsLoadNothing) {
  Schedule schedule = MakeSchedule(false);
  EXPECT_TRUE(schedule.LoadSchedule({}, 100));
  EXPECT_TRUE(schedule.LoadSchedule({"# note", "", "   "}, 100));
  EXPECT_TRUE(schedule.ScheduleEntries().empty());
  EXPECT_TRUE(panel_.empty());
}

TEST_F(LoadScheduleTest, MakesOneEntryPerTimeInScriptOrder) {
  Schedule schedule = MakeSchedule(false);
  ASSERT_TRUE(schedule.LoadSchedule({"Speak Hi At 7:00 12:00 19:00 Repeat 3 Confirm"}, 70));
  const auto& entries = schedule.ScheduleEntries();
  ASSERT_EQ(entries.size(), 3u);
  const int expected_seconds[] = {25200, 43200, 68400};
  for (size_t i = 0; i < entries.size(); ++i) {
    TSchedule expected;
    expected.Msg = "Hi";
    expected.RepeatCount = 3;
    expected.Seconds = expected_seconds[i];
    expected.Volume = 70;
    expected.ConfirmFlag = true;
    EXPECT_EQ(entries[i], expected) << i;
  }
}

TEST_F(LoadScheduleTest, BadLinesAreReportedOnceEachWhileTheOthersLoad) {
  Schedule schedule = MakeSchedule(false);
  const LineList lines = {"Speak One At 1:00",  "# two", "Speak Three At xyz",
                          "Speak Four At 4:00", "Bogus", "Speak Six At 6:00"};
  EXPECT_FALSE(schedule.LoadSchedule(lines, 100));
  EXPECT_THAT(panel_, ElementsAre("スクリプトの 3行目4項目めにエラーがあります："
                                  "時刻 'xyz' は使えません（0:00～23:59.59）",
                                  "スクリプトの 5行目1項目めにエラーがあります："
                                  "'Bogus' は知らない命令です（Speak, Time, Wave, Midi）"));
  // The same problems, found without loading anything.
  const std::vector<ScheduleProblem> problems = CheckScheduleLines(lines, files_);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[1].Text(), panel_.back());
  EXPECT_EQ(problems[0].line, 3);
  EXPECT_EQ(problems[0].item, 4);
  std::vector<std::string> messages;
  for (const auto& e : schedule.ScheduleEntries()) messages.push_back(e.Msg);
  EXPECT_THAT(messages, ElementsAre("One", "Four", "Six"));
}

TEST_F(LoadScheduleTest, ReloadingReplacesEveryEntryAndItsNextTime) {
  Schedule schedule = MakeSchedule(false);
  ASSERT_TRUE(schedule.LoadSchedule({"Speak Old At 1:00"}, 100));
  schedule.ScheduleEntries()[0].NextTime = 46000.5;
  ASSERT_TRUE(schedule.LoadSchedule({"Speak Old At 1:00"}, 100));
  EXPECT_EQ(schedule.ScheduleEntries()[0].NextTime, 0.0);
}

TEST_F(LoadScheduleTest, WaveAndMidiFilesMustExistAtLoadTime) {
  Schedule schedule = MakeSchedule(false);
  EXPECT_FALSE(schedule.LoadSchedule({"Wave /s/chime.wav At 7:00"}, 100));
  EXPECT_THAT(panel_, ElementsAre("スクリプトの 1行目2項目めにエラーがあります："
                                  "ファイルが見つかりません: /s/chime.wav"));
  files_.Add("/s/chime.wav");
  EXPECT_TRUE(schedule.LoadSchedule({"Wave /s/chime.wav At 7:00"}, 100));
  EXPECT_EQ(schedule.ScheduleEntries().size(), 1u);
}

TEST_F(LoadScheduleTest, WritesDiagnosticLinesOnlyInDebugMode) {
  Schedule quiet = MakeSchedule(false);
  ASSERT_TRUE(quiet.LoadSchedule({"Speak Hi At 7:00"}, 100));
  quiet.MakeNextTime(0, 46000.0, 0);
  EXPECT_TRUE(log_.Lines().empty());

  Schedule schedule = MakeSchedule(true);
  ASSERT_FALSE(schedule.LoadSchedule(
      {"Speak Hi At 7:00 12:00 19:00.05 from 6:30 to 24:00", "Midi m BGM", "Speak Bye At 23:59"},
      100));  // the Midi line fails: no such file
  const auto lines = log_.Lines();
  ASSERT_EQ(lines.size(), 8u);  // four LOAD1, then four LOAD2
  EXPECT_THAT(lines[0], EndsWith(" LOAD1 cmd=0 int=0 msg=Hi 07:00.000 from 06:30 to 24:00"));
  EXPECT_THAT(lines[1], EndsWith(" LOAD1 cmd=0 int=0 msg=Hi 12:00.000 from 06:30 to 24:00"));
  EXPECT_THAT(lines[2], EndsWith(" LOAD1 cmd=0 int=0 msg=Hi 19:00.005 from 06:30 to 24:00"));
  EXPECT_THAT(lines[3], EndsWith(" LOAD1 cmd=0 int=0 msg=Bye 23:59.000 from 00:00 to 24:00"));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lines[4 + i].substr(lines[4 + i].find(' ')),
              " LOAD2" + lines[i].substr(lines[i].find(" LOAD1") + 6));
  }
}

TEST_F(LoadScheduleTest, MakeNextTimeLogsItsResultInDebugMode) {
  Schedule schedule = MakeSchedule(true);
  ASSERT_TRUE(
      schedule.LoadSchedule({"Speak Hi At 7:00 Repeat 2 Volume 55 Confirm Every Mon Wed"}, 100));
  const size_t before = log_.Lines().size();
  // Sunday 2026-12-06 08:00 -> Monday 07:00.
  const TDateTime next = schedule.MakeNextTime(0, 46362.0 + 8.0 / 24, 0);
  EXPECT_EQ(next, 46363.0 + 7.0 / 24);
  const auto lines = log_.Lines();
  ASSERT_EQ(lines.size(), before + 1);
  EXPECT_THAT(lines.back(),
              EndsWith(" MakeNextTime (0) [2026/12/07(月) 07:00.00] ctSpeak imAt cnt=2 evy=24 "
                       "vol=55 cfm=1 (07:00.00 00:00.00-24:00.00) msg=Hi"));
  EXPECT_EQ(schedule.MakeNextTime(5, 46362.0, 0), 0.0);  // no such entry
}

}  // namespace
}  // namespace chimewell
