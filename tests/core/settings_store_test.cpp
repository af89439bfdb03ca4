#include "core/settings_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "support/temp_dir.h"

namespace chimewell {
namespace {

using ::testing::ElementsAreArray;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path File(std::string_view bytes) {
    WriteBytes(path_, bytes);
    return path_;
  }
  // The key names of the file, in file order.
  std::vector<std::string> KeysInFile() const {
    std::vector<std::string> keys;
    std::istringstream in(ReadBytes(path_));
    for (std::string line; std::getline(in, line);) {
      if (const size_t eq = line.find('='); eq != std::string::npos)
        keys.push_back(line.substr(0, eq));
    }
    return keys;
  }
  TempDir dir_;
  std::filesystem::path path_ = dir_ / "chimewell.ini";
};

TEST_F(SettingsStoreTest, PortOutsideItsRangeReadsAs8080) {
  const std::pair<const char*, int> cases[] = {
      {"0x1F90", 8080}, {"0x1F91", 8081}, {"abc", 8080}, {"32767", 8080}, {"32766", 32766},
      {"1", 1},         {"0", 8080},      {"-80", 8080}, {"", 8080},      {"99999999999", 8080},
  };
  for (const auto& [stored, expected] : cases) {
    File(std::string("[App]\nPortNumber=") + stored + "\n");
    EXPECT_EQ(ReadStartupSettings(path_).app.PortNumber, expected) << stored;
  }
}

TEST_F(SettingsStoreTest, BooleansTakeAnyNonZeroIntegerAndKeepTheirDefaultOtherwise) {
  File("[Config]\nLipsView=2\nIconicStart=yes\n[Jiho]\nErrorView=yes\n[Clock]\nSecItalic=-1\n");
  const StartupSettings s = ReadStartupSettings(path_);
  EXPECT_TRUE(s.config.LipsView);
  EXPECT_FALSE(s.config.IconicStart);
  EXPECT_EQ(s.clock.FontStyles, kSecItalic);
  EXPECT_TRUE(ReadJihoSettings(path_).ErrorView);
}

TEST_F(SettingsStoreTest, FileWithOnlyBackColorGivesEveryOtherDefault) {
  File("[Clock]\nBackColor=255\n");
  const StartupSettings s = ReadStartupSettings(path_);
  ClockSettings expected;
  expected.BackColor = 255;
  EXPECT_EQ(s.clock, expected);
  EXPECT_EQ(s.app, AppSettings{});
  EXPECT_EQ(s.config, ConfigSettings{});
  EXPECT_EQ(ReadJihoSettings(path_), JihoSettings{});
}

TEST_F(SettingsStoreTest, MissingFileGivesDefaults) {
  EXPECT_EQ(ReadStartupSettings(path_).clock, ClockSettings{});
  EXPECT_EQ(ReadAppInfo(dir_ / "chimewell.imi"), AppInfo{});
  const AppSettings placed{.Width = 640, .Height = 480, .Left = 1, .Top = 2};
  EXPECT_EQ(ReadAppSettings(IniFile(path_), placed), placed);
}

TEST_F(SettingsStoreTest, NegativeSpeakOffsetIsKept) {
  File("[Config]\nSpeakOffset=-300\nSoundFont=/usr/share/sounds/sf2/x.sf2\n");
  const ConfigSettings c = ReadStartupSettings(path_).config;
  EXPECT_EQ(c.SpeakOffset, -300);
  EXPECT_EQ(c.SoundFont, "/usr/share/sounds/sf2/x.sf2");
}

TEST_F(SettingsStoreTest, ApplicationInfoFile) {
  const auto info_file = dir_ / "chimewell.imi";
  WriteBytes(info_file, "[App]\nDebug=1\nMyPageURL=https://example.invalid/\n");
  EXPECT_EQ(ReadAppInfo(info_file), (AppInfo{true, "https://example.invalid/"}));
}

TEST_F(SettingsStoreTest, CloseRewritesOnlyThePlacementKeys) {
  File(
      "; Chimewell\n[App]\nWidth=1\nPortNumber=9000\n; hand-written note\n"
      "[Config]\nSpeakOffset=250\n");
  WriteWindowPlacement(path_, {.Width = 400, .Height = 300, .Left = 10, .Top = -5});
  EXPECT_EQ(ReadBytes(path_),
            "; Chimewell\n[App]\nWidth=400\nPortNumber=9000\nHeight=300\nLeft=10\nTop=-5\n"
            "; hand-written note\n[Config]\nSpeakOffset=250\n");
  WritePortNumber(path_, 8123);
  EXPECT_EQ(ReadStartupSettings(path_).app,
            (AppSettings{.Width = 400, .Height = 300, .Left = 10, .Top = -5, .PortNumber = 8123}));
}

TEST_F(SettingsStoreTest, SettingsFormValuesAreReadBackAtTheNextStart) {
  File("[Config]\nSoundFont=mine.sf2\n");
  const ConfigSettings written{.LipsView = true,
                               .IconicStart = true,
                               .DoubleClick = 2,
                               .SpeakOffset = 300,
                               .BackVolume = 25,
                               .DefaultVolume = 90,
                               .LateLimit = 120,
                               .SoundFont = "ignored.sf2",
                               .QuietFrom = "22:00",
                               .QuietTo = "7:00",
                               .QuietDays = 0x40 | 0x20,
                               .QuietWhenBusy = false};
  WriteConfigSettings(path_, written);
  EXPECT_THAT(KeysInFile(),
              ElementsAreArray({"SoundFont", "DoubleClick", "IconicStart", "LipsView",
                                "SpeakOffset", "DefaultVolume", "BackVolume", "LateLimit",
                                "QuietFrom", "QuietTo", "QuietDays", "QuietWhenBusy"}));
  ConfigSettings expected = written;
  expected.SoundFont = "mine.sf2";  // not the form's to change
  EXPECT_EQ(ReadStartupSettings(path_).config, expected);
}

TEST_F(SettingsStoreTest, TimeSignalFormWritesItsKeysInOrderAndReadsBack) {
  JihoSettings written;
  written.Folder = "/home/u/声/表示";
  written.Format = "[AMPM][HOUR][MIN]です";
  written.Type = 3;
  written.MLVC = 1;
  written.ErrorView = false;
  written.AddOn[0] = "/a/on1.wav";
  written.AddOn[15] = "/a/on16.wav";
  written.AddOff[4] = " spaced.wav ";
  written.LastFolder[0] = "/home/u/声";
  written.LastFolder[19] = "/last";
  written.Chime = "pips";
  written.ChimeMode = 1;
  WriteJihoSettings(path_, written);
  EXPECT_EQ(ReadJihoSettings(path_), written);

  std::vector<std::string> order;
  for (int i = 1; i <= 20; ++i) order.push_back("LastFolder" + std::to_string(i));
  for (const char* key : {"Type", "MLVC", "Folder", "Format", "ErrorView"}) order.push_back(key);
  for (int i = 1; i <= 16; ++i) order.push_back("AddOn" + std::to_string(i));
  for (int i = 1; i <= 16; ++i) order.push_back("AddOff" + std::to_string(i));
  order.push_back("Chime");
  order.push_back("ChimeMode");
  EXPECT_THAT(KeysInFile(), ElementsAreArray(order));
}

TEST_F(SettingsStoreTest, ClockFaceFormWritesEveryKeyInTableOrder) {
  ClockSettings written;
  written.BackColor = 0x00FFEEDD;
  written.DateFormat = "[year][mon][day]";
  written.DigitName = "Noto Sans CJK JP";
  written.SecY = 123;
  written.FontStyles = kDateBold | kHHMMItalic | kSecItalic;
  WriteClockSettings(path_, written);
  EXPECT_EQ(ReadStartupSettings(path_).clock, written);
  EXPECT_THAT(
      KeysInFile(),
      ElementsAreArray({"BackColor",  "DateColor", "DateFormat", "DateName",   "DateSize",
                        "DateX",      "DateY",     "DigitName",  "HHMM1Color", "HHMM2Color",
                        "HHMMSize",   "HHMMX",     "HHMMY",      "AMPM1Color", "AMPM2Color",
                        "AMPMSize",   "AMPMX",     "AMPMY",      "SecColor",   "SecSize",
                        "SecX",       "SecY",      "DateBold",   "DateItalic", "HHMMBold",
                        "HHMMItalic", "AMPMBold",  "AMPMItalic", "SecBold",    "SecItalic"}));
}

TEST_F(SettingsStoreTest, FailedWriteLeavesTheOldSettings) {
  const std::string old_contents = "[Config]\nSpeakOffset=250\n";
  File(old_contents);
  // A settings path whose folder is a plain file: the write cannot even start.
  const auto inside_file = dir_ / "chimewell.ini" / "nested.ini";
  EXPECT_THROW(WriteConfigSettings(inside_file, ConfigSettings{}), IniWriteError);
  EXPECT_EQ(ReadBytes(path_), old_contents);
}

}  // namespace
}  // namespace chimewell
