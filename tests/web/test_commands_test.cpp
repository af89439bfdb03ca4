// The test section: the moment a test announces, the command a request carries and the entry
// that plays a test file.
#include "web/test_commands.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

TDateTime Moment(int y, int mo, int d, int h, int mi, int s) {
  return *TryEncodeDateTime({y, mo, d, h, mi, s, 0});
}

TEST(TestMomentTest, ReadsDateAndTimeOfTheTestFields) {
  EXPECT_EQ(ParseTestMoment("2004/01/05", "7:05.00"), Moment(2004, 1, 5, 7, 5, 0));
  EXPECT_EQ(ParseTestMoment("2024/2/29", "23:59.59"), Moment(2024, 2, 29, 23, 59, 59));
  EXPECT_EQ(ParseTestMoment({"DATE=2004/01/05", "TIME=07:05.09"}), Moment(2004, 1, 5, 7, 5, 9));
}

TEST(TestMomentTest, AnythingButARealMomentIsZero) {
  EXPECT_EQ(ParseTestMoment("2004/2/30", "12:00.00"), 0);  // no 30 February
  EXPECT_EQ(ParseTestMoment("2023/2/29", "12:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("2004/01/05", "12:30"), 0);  // the minute part is empty
  EXPECT_EQ(ParseTestMoment("2004/01/05", "12:30:00"), 0);
  EXPECT_EQ(ParseTestMoment("2004/01/05", "24:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("2004/01/05", "12:60.00"), 0);
  EXPECT_EQ(ParseTestMoment("2004/13/05", "12:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("2004-01-05", "12:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("10000/1/1", "12:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("2004/1/5x", "12:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("2004/1/5", " 12:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("99999999999/1/1", "12:00.00"), 0);
  EXPECT_EQ(ParseTestMoment("", ""), 0);
  EXPECT_EQ(ParseTestMoment(DecodedParams{}), 0);
}

TEST(TestCommandTest, FirstPresentMarkerWins) {
  EXPECT_EQ(ChooseTestCommand({"MIDITEST=1", "WAVETEST=1", "MSGTEST=1", "JIHOTEST=1"}),
            TestCommand::kTimeSignal);
  EXPECT_EQ(ChooseTestCommand({"JIHOTEST=", "MIDITEST=1", "MSGTEST=1"}), TestCommand::kMessage);
  EXPECT_EQ(ChooseTestCommand({"MIDITEST=1", "WAVETEST=x"}), TestCommand::kWave);
  EXPECT_EQ(ChooseTestCommand({"MIDITEST=1"}), TestCommand::kMidi);
  EXPECT_EQ(ChooseTestCommand({"WAVEFILE=a.wav"}), TestCommand::kNone);
}

TEST(TestCommandTest, TestFilePlaysOnceAtTheGivenVolume) {
  const TSchedule entry = TestFileEntry("/tmp/a.mid", ctMidi, 70);
  EXPECT_EQ(entry.Msg, "/tmp/a.mid");
  EXPECT_EQ(entry.Cmd, ctMidi);
  EXPECT_EQ(entry.Mode, imAt);
  EXPECT_EQ(entry.RepeatCount, 1);
  EXPECT_EQ(entry.Volume, 70);
}

}  // namespace
}  // namespace chimewell
