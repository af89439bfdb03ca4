// Announcing a moment: what reaches the message worker, the log and the panel.
#include "timesignal/time_signal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/memory_file_system.h"
#include "recording_output.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TDateTime At(int hour, int minute, int second = 0) {
  return *TryEncodeDateTime({2024, 3, 3, hour, minute, second, 0});
}

std::string Bytes(std::span<const uint8_t> span) { return std::string(span.begin(), span.end()); }

class TimeSignalTest : public ::testing::Test {
 protected:
  void Load(int type, const std::string& folder = "v") {
    jiho_.Type = type;
    jiho_.Folder = folder;
    time_signal_.LoadTimeSignalSettings(jiho_);
  }
  void AddVoiceSet(int type) {
    for (const std::string& name : VoiceList(type)) files_.Add("v/" + name, name);
  }
  // The files a queued signal plays, by their content (each file holds its own name).
  std::vector<std::string> Played(const testing::RecordingOutput::Signal& signal) {
    std::vector<std::string> played;
    for (int32_t offset : signal.fragments) {
      played.push_back(offset == kAbsentFragment ? "-" : Bytes(signal.image->FileAt(offset)));
    }
    return played;
  }

  testing::MemoryFileSystem files_;
  testing::RecordingOutput output_;
  JihoSettings jiho_;
  TimeSignal time_signal_{files_, output_};
};

TEST_F(TimeSignalTest, QueuesTheComposedFragmentsAndLogs) {
  AddVoiceSet(1);
  Load(1);
  const TimeSignalOutcome outcome = time_signal_.PlayTimeSignal("default", 2, At(15, 0));
  EXPECT_TRUE(outcome.queued);
  ASSERT_EQ(output_.signals.size(), 1u);
  EXPECT_THAT(Played(output_.signals[0]), ElementsAre("GOGO.WAV", "SAN.WAV", "JI.WAV", "DA.WAV"));
  EXPECT_EQ(output_.signals[0].repeat, 2);
  EXPECT_EQ(output_.skip_enabled, 1);
  EXPECT_THAT(output_.log, ElementsAre("Set[Time]Thread default repeat:2"));
  EXPECT_THAT(output_.panel, IsEmpty());
}

TEST_F(TimeSignalTest, AbsentFilesStillPlayAsTheBuiltInSound) {
  Load(1);
  time_signal_.PlayTimeSignal("[hour]", 0, At(3, 0));
  ASSERT_EQ(output_.signals.size(), 1u);
  EXPECT_THAT(output_.signals[0].fragments, ElementsAre(kAbsentFragment, kAbsentFragment));
  EXPECT_EQ(output_.signals[0].repeat, 1);  // at least once
}

TEST_F(TimeSignalTest, DropsAnAnnouncementWhileAnotherIsQueued) {
  AddVoiceSet(1);
  Load(1);
  output_.queued = true;
  EXPECT_TRUE(time_signal_.PlayTimeSignal("[foo]", 1, At(15, 0)).dropped);
  EXPECT_THAT(output_.signals, IsEmpty());
  EXPECT_THAT(output_.panel, IsEmpty());
  EXPECT_THAT(output_.log, IsEmpty());
}

TEST_F(TimeSignalTest, ReportsFormatErrorsInThePanelUnlessTurnedOff) {
  AddVoiceSet(1);
  Load(1);
  time_signal_.PlayTimeSignal("[foo]", 1, At(15, 0));
  EXPECT_THAT(output_.signals, IsEmpty());
  EXPECT_THAT(output_.panel, ElementsAre("時報指定にエラーがあります\r\n[foo]は使えません\r\n"
                                         "時報要素が指定されていません\r\n"));
  time_signal_.PlayTimeSignal("[hour]x", 1, At(15, 0));
  EXPECT_EQ(output_.signals.size(), 1u);
  EXPECT_EQ(output_.panel.back(), "時報指定にエラーがあります\r\n[x]が余りました\r\n");

  jiho_.ErrorView = false;
  Load(1);
  const TimeSignalOutcome outcome = time_signal_.PlayTimeSignal("[foo]", 1, At(15, 0));
  EXPECT_EQ(output_.panel.size(), 2u);
  EXPECT_EQ(outcome.resolved.report, "[foo]は使えません\r\n時報要素が指定されていません\r\n");
}

TEST_F(TimeSignalTest, UnsupportedTypeIsReportedAtEachAnnouncement) {
  Load(9);
  time_signal_.PlayTimeSignal("[hour]", 1, At(15, 0));
  EXPECT_THAT(
      output_.panel,
      ElementsAre("時報指定にエラーがあります\r\n現在機能していないタイプが指定されました\r\n"
                  "時報要素が指定されていません\r\n"));
}

TEST_F(TimeSignalTest, TypeTwoReadsItsFilesNowAndReportsMissingOnes) {
  files_.Add("v/28_3月.wav", "march");
  files_.Add("v/25_日曜日.wav", "sunday");
  files_.Add("/x/on.wav", "addon");
  jiho_.AddOn[0] = "/x/on.wav";
  Load(2);
  time_signal_.PlayTimeSignal("[mon][day][wday][addon1]", 1, At(10, 0));
  ASSERT_EQ(output_.signals.size(), 1u);
  EXPECT_THAT(Played(output_.signals[0]), ElementsAre("march", "-", "sunday", "addon"));
  EXPECT_THAT(output_.panel,
              ElementsAre("時報指定にエラーがあります\r\n[v/40_3日.wav]ファイルがありません\r\n"));

  // A change on disk is heard at the next announcement; the first image is left as it was.
  files_.Add("v/40_3日.wav", "third");
  output_.queued = false;
  time_signal_.PlayTimeSignal("[mon][day]", 1, At(10, 0));
  ASSERT_EQ(output_.signals.size(), 2u);
  EXPECT_THAT(Played(output_.signals[1]), ElementsAre("march", "third"));
  EXPECT_THAT(Played(output_.signals[0]), ElementsAre("march", "-", "sunday", "addon"));
}

TEST_F(TimeSignalTest, AddOffFilesAreReadAtEachAnnouncement) {
  AddVoiceSet(5);
  jiho_.AddOff[2] = "/x/late.wav";
  Load(5);
  time_signal_.PlayTimeSignal("[addoff3][hour]", 1, At(1, 0));
  EXPECT_THAT(Played(output_.signals[0]), ElementsAre("-", "o01.WAV"));
  EXPECT_THAT(
      output_.panel,
      ElementsAre("時報指定にエラーがあります\r\nファイル(/x/late.wav)がありません<BR>\r\n"));
  files_.Add("/x/late.wav", "late");
  time_signal_.PlayTimeSignal("[addoff3][hour]", 1, At(1, 0));
  EXPECT_THAT(Played(output_.signals[1]), ElementsAre("late", "o01.WAV"));
}

TEST_F(TimeSignalTest, ReloadingLeavesAQueuedSignalItsBytes) {
  AddVoiceSet(4);
  Load(4);
  time_signal_.PlayTimeSignal("[HOUR][MIN]", 1, At(8, 0));
  Load(0);  // a new settings save while the signal plays
  ASSERT_EQ(output_.signals.size(), 1u);
  EXPECT_THAT(Played(output_.signals[0]), ElementsAre("08ji.wav", "tyoudo.wav"));
}

TEST_F(TimeSignalTest, TypeZeroQueuesTheExpandedTextForSpeech) {
  Load(0);
  time_signal_.SetDefaultVolume(70);
  output_.queued = true;  // speech waits its turn instead of being dropped
  const TimeSignalOutcome outcome = time_signal_.PlayTimeSignal("default", 3, At(15, 0));
  EXPECT_TRUE(outcome.queued);
  ASSERT_EQ(output_.messages.size(), 1u);
  EXPECT_EQ(output_.messages[0].text, "午後3時0分です");
  EXPECT_EQ(output_.messages[0].volume, 70);
  EXPECT_EQ(output_.messages[0].count, 3);
  EXPECT_THAT(output_.signals, IsEmpty());
  EXPECT_THAT(output_.log, IsEmpty());
}

TEST_F(TimeSignalTest, TypeZeroNamesTheHolidayOfTheCalendarItIsGiven) {
  Load(0);
  const TDateTime new_year = *TryEncodeDateTime({2027, 1, 1, 9, 0, 0, 0});
  const TDateTime day_after = new_year + 1;
  EXPECT_EQ(time_signal_.SpokenText("[holiday][hour]です", new_year), "元日9時です");
  EXPECT_EQ(time_signal_.SpokenText("[holiday][hour]です", day_after), "9時です");
  time_signal_.SetHolidays(HolidayCalendar({{std::nullopt, 1, 2, "正月休み"}}));
  EXPECT_EQ(time_signal_.SpokenText("[holiday][hour]です", day_after), "正月休み9時です");
  EXPECT_EQ(time_signal_.SpokenText("[holiday][hour]です", new_year), "元日9時です");
}

}  // namespace
}  // namespace chimewell
