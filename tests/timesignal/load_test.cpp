// Loading the settings and the voice set into the image.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/memory_file_system.h"
#include "timesignal/time_signal_settings.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::Not;

// Adds every file of the list of `type` under `folder`, each holding its own name.
void AddVoiceSet(testing::MemoryFileSystem& files, int type, const std::string& folder) {
  for (const std::string& name : VoiceList(type)) files.Add(folder + "/" + name, name);
}

// Settings of voice type `type` in `folder`.
JihoSettings SetIn(int type, const std::string& folder) {
  JihoSettings jiho;
  jiho.Type = type;
  jiho.Folder = folder;
  return jiho;
}

std::string Bytes(std::span<const uint8_t> span) { return std::string(span.begin(), span.end()); }

TEST(LoadTimeSignalSettings, DefaultsLoadNothingAndReportNothing) {
  testing::MemoryFileSystem files;
  TimeSignalSettings loaded;
  EXPECT_EQ(LoadTimeSignalSettings(JihoSettings{}, files, loaded), "");
  EXPECT_EQ(loaded.VoiceFolder, ".");
  EXPECT_EQ(loaded.TimeSignalFormat, "[hour][min]");
  EXPECT_EQ(loaded.VoiceType, 0);
  EXPECT_TRUE(loaded.ShowTimeSignalErrors);
  EXPECT_EQ(loaded.FragmentOffsets, std::vector<int32_t>(16, kAbsentFragment));
  EXPECT_EQ(loaded.PreloadSize, 0u);
}

TEST(LoadTimeSignalSettings, CompleteSetIsLoadedInListOrder) {
  for (int type : {1, 3, 4, 5}) {
    SCOPED_TRACE(type);
    testing::MemoryFileSystem files;
    AddVoiceSet(files, type, "voices");
    JihoSettings jiho;
    jiho.Type = type;
    jiho.Folder = "voices";
    TimeSignalSettings loaded;
    EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded), "");
    const auto& list = VoiceList(type);
    ASSERT_EQ(loaded.FragmentOffsets.size(), 16 + list.size());
    for (size_t i = 0; i < list.size(); ++i) {
      EXPECT_EQ(Bytes(loaded.VoiceImage->FileAt(loaded.FragmentOffsets[16 + i])), list[i]);
    }
    EXPECT_EQ(loaded.PreloadSize, loaded.VoiceImage->Size());
  }
}

TEST(LoadTimeSignalSettings, MissingFilesAreReportedByTheTypesThatCare) {
  testing::MemoryFileSystem files;
  JihoSettings jiho;
  jiho.Type = 1;
  jiho.Folder = "";  // names are looked up as they stand
  TimeSignalSettings loaded;
  std::string expected;
  for (const std::string& name : VoiceList(1)) expected += name + " ファイルがありません<BR>\r\n";
  EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded), expected);
  EXPECT_THAT(loaded.FragmentOffsets, Each(kAbsentFragment));

  // Type 3 with half of its files: silent, the missing ones are -1.
  const auto& three = VoiceList(3);
  for (size_t i = 0; i < three.size(); i += 2) files.Add("v/" + three[i], three[i]);
  jiho.Type = 3;
  jiho.Folder = "v";
  EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded), "");
  EXPECT_NE(loaded.FragmentOffsets[16], kAbsentFragment);
  EXPECT_EQ(loaded.FragmentOffsets[17], kAbsentFragment);
}

TEST(LoadTimeSignalSettings, AddOnFilesComeFirst) {
  testing::MemoryFileSystem files;
  files.Add("/extra/chime.wav", std::string(1000, 'x'));
  AddVoiceSet(files, 5, "v");
  JihoSettings jiho = SetIn(5, "v");
  jiho.AddOn[1] = "/extra/chime.wav";
  jiho.AddOn[2] = "/extra/missing.wav";
  TimeSignalSettings loaded;
  EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded), "");
  EXPECT_EQ(loaded.FragmentOffsets[0], kAbsentFragment);
  EXPECT_EQ(loaded.FragmentOffsets[1], 0);
  EXPECT_EQ(loaded.FragmentOffsets[2], kAbsentFragment);
  EXPECT_EQ(loaded.FragmentOffsets[16], 1000);
  EXPECT_EQ(loaded.VoiceImage->FileAt(0).size(), 1000u);
}

TEST(LoadTimeSignalSettings, UnsupportedTypeKeepsOnlyTheAddOns) {
  testing::MemoryFileSystem files;
  JihoSettings jiho;
  jiho.Type = 7;
  TimeSignalSettings loaded;
  EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded),
            "現在サポートされていない時報タイプです\r\n");
  EXPECT_EQ(loaded.FragmentOffsets.size(), 16u);
  jiho.Type = -1;
  EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded),
            "現在サポートされていない時報タイプです\r\n");
}

TEST(LoadTimeSignalSettings, UnreadableOrEmptyFilesAreReportedAndSkipped) {
  testing::MemoryFileSystem files;
  AddVoiceSet(files, 3, "v");
  files.Remove("v/0.WAV");
  files.AddUnreadable("v/0.WAV");
  files.Add("v/00.WAV", "");
  JihoSettings jiho;
  jiho.Type = 3;
  jiho.Folder = "v";
  TimeSignalSettings loaded;
  EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded),
            "0.WAV ファイルが読めません<BR>\r\n00.WAV ファイルが読めません<BR>\r\n");
  EXPECT_EQ(loaded.FragmentOffsets[16], kAbsentFragment);
  EXPECT_EQ(loaded.FragmentOffsets[17], kAbsentFragment);
  EXPECT_EQ(Bytes(loaded.VoiceImage->FileAt(loaded.FragmentOffsets[18])), "1.WAV");
}

TEST(LoadTimeSignalSettings, FilesPastTheSizeLimitAreReportedLikeUnreadableOnes) {
  testing::MemoryFileSystem files;
  AddVoiceSet(files, 1, "v");
  files.Add("v/JI.WAV", std::string((16 << 20) + 1, 'x'));
  files.Add("/big-addon.wav", std::string((16 << 20) + 1, 'x'));
  files.Add("/addon.wav", std::string(16 << 20, 'x'));
  JihoSettings jiho = SetIn(1, "v");
  jiho.AddOn[0] = "/big-addon.wav";
  jiho.AddOn[1] = "/addon.wav";
  TimeSignalSettings loaded;
  EXPECT_EQ(LoadTimeSignalSettings(jiho, files, loaded),
            "/big-addon.wav ファイルが読めません<BR>\r\nJI.WAV ファイルが読めません<BR>\r\n");
  EXPECT_EQ(loaded.FragmentOffsets[0], kAbsentFragment);
  EXPECT_EQ(loaded.FragmentOffsets[1], 0);
  EXPECT_EQ(loaded.FragmentOffsets[16 + 2], kAbsentFragment);
}

TEST(LoadTimeSignalSettings, WindowsFolderIsReadWithSlashes) {
  testing::MemoryFileSystem files;
  AddVoiceSet(files, 4, "sets/four");
  JihoSettings jiho;
  jiho.Type = 4;
  jiho.Folder = "sets\\four\\";
  TimeSignalSettings loaded;
  EXPECT_THAT(LoadTimeSignalSettings(jiho, files, loaded), Not(HasSubstr("ファイル")));
  EXPECT_EQ(loaded.VoiceFolder, "sets/four/");
  EXPECT_EQ(VoiceFilePrefix("sets/four/"), "sets/four/");
  EXPECT_EQ(VoiceFilePrefix(""), "");
}

TEST(VoiceImage, FilesKeepTheirExtentAcrossLayers) {
  auto base = std::make_shared<VoiceImage>();
  EXPECT_EQ(base->Append("abc"), 0);
  EXPECT_EQ(base->Append(""), kAbsentFragment);
  EXPECT_EQ(base->Append("defg"), 3);
  VoiceImage layer(base);
  EXPECT_EQ(layer.Append("hi"), 7);
  EXPECT_EQ(Bytes(layer.FileAt(0)), "abc");
  EXPECT_EQ(Bytes(layer.FileAt(3)), "defg");
  EXPECT_EQ(Bytes(layer.FileAt(7)), "hi");
  EXPECT_TRUE(layer.FileAt(1).empty());
  EXPECT_TRUE(layer.FileAt(kAbsentFragment).empty());
  EXPECT_TRUE(layer.FileAt(9).empty());
  EXPECT_EQ(base->Size(), 7u);
}

TEST(VoiceLists, HaveTheirFullLengthAndNoRepeats) {
  EXPECT_EQ(VoiceList(1).size(), 28u);
  EXPECT_EQ(VoiceList(3).size(), 94u);
  EXPECT_EQ(VoiceList(4).size(), 47u);
  EXPECT_EQ(VoiceList(5).size(), 50u);
  EXPECT_TRUE(VoiceList(2).empty());
  for (int type : {1, 3, 4, 5}) {
    const auto& list = VoiceList(type);
    for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(VoiceListIndex(type, list[i]), int(i));
  }
  EXPECT_EQ(VoiceList(3)[40], "024AM.WAV");
  EXPECT_EQ(TypeTwoAllNames().size(), 25u + 7 + 12 + 31 + 24 + 60);
  EXPECT_EQ(TypeTwoMinuteName(59), "183_59.wav");
  EXPECT_EQ(TypeTwoHourName(23), "123_23H.wav");
  EXPECT_EQ(TypeTwoMonthName(12), "37_12月.wav");
  EXPECT_EQ(TypeTwoDayName(31), "68_31日.wav");
}

}  // namespace
}  // namespace chimewell
