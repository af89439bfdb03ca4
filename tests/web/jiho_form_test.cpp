// The time-signal form: the recent folders, what it writes, and the reload report it shows.
#include "web/jiho_form.h"

#include <gmock/gmock.h>

#include "core/settings_store.h"
#include "web/error_text.h"
#include "web/handler_fixture.h"

namespace chimewell::testing {
namespace {

using ::testing::EndsWith;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using Folders = std::array<std::string, kRecentFolderCount>;

TEST(RecentFolderUpdate, NewFolderFirstAndTheSameFolderInOtherCaseDropped) {
  Folders old;
  old[0] = "a";
  old[2] = "voice1";
  old[3] = "b";
  const Folders updated = UpdateRecentFolders(old, "Voice1");
  EXPECT_EQ(updated[0], "Voice1");
  EXPECT_EQ(updated[1], "a");
  EXPECT_EQ(updated[2], "b");
  EXPECT_EQ(updated[3], "");
}

TEST(RecentFolderUpdate, AnEmptyFolderShiftsTheOthersAndTheListStopsAtTwenty) {
  Folders old;
  for (size_t i = 0; i < old.size(); ++i) old[i] = "f" + std::to_string(i + 1);
  const Folders updated = UpdateRecentFolders(old, "");
  EXPECT_EQ(updated[0], "");
  EXPECT_EQ(updated[1], "f1");
  EXPECT_EQ(updated[19], "f19");
}

TEST(ErrorText, BreaksBecomeFullStopsInThePanelAndSpeechStopsAtTheFirstLine) {
  const std::string panel = PanelErrorText("A<BR>\r\nB<BR>\r\n");
  EXPECT_EQ(panel, "A。\r\nB。\r\n");
  EXPECT_EQ(SpokenErrorText(panel), "A。");
}

TEST(ErrorText, AReportIsEscapedExceptItsBreaksAndReadsPlainInThePanel) {
  const std::string html = EscapeReportKeepingBreaks("<b>&x/1.wav ファイルがありません<BR>\r\n");
  EXPECT_EQ(html, "&lt;b&gt;&amp;x/1.wav ファイルがありません<BR>\r\n");
  EXPECT_EQ(PanelErrorText(html), "<b>&x/1.wav ファイルがありません。\r\n");
}

TEST_F(HandlerTest, JihoFormWritesEverythingAndKeepsTheRecentFolders) {
  WriteFile("chimewell.ini", "[Jiho]\r\nLastFolder1=a\r\nLastFolder3=voice1\r\n");
  const std::string page =
      Get("/?JIHOSET=1&JIHOTYPE=0&JIHOMLVC=x&JIHOFDRSEL=1&JIHOLAST=Voice1&JIHOFDR=typed"
          "&JIHOFORMAT=%5Bhour%5D%E6%99%82&JIHOERROR=1&JIHOADDON2=on.wav&JIHOADDOFF16=off.wav");
  const JihoSettings jiho = ReadJihoSettings(app->Paths().settings);
  EXPECT_EQ(jiho.Folder, "Voice1");
  EXPECT_EQ(jiho.Format, "[hour]時");
  EXPECT_EQ(jiho.MLVC, 0);
  EXPECT_TRUE(jiho.ErrorView);
  EXPECT_EQ(jiho.AddOn[1], "on.wav");
  EXPECT_EQ(jiho.AddOff[15], "off.wav");
  EXPECT_THAT(std::vector<std::string>(jiho.LastFolder.begin(), jiho.LastFolder.begin() + 3),
              ElementsAre("Voice1", "a", ""));
  EXPECT_EQ(app->TimeSignalData().Settings().TimeSignalFormat, "[hour]時");
  EXPECT_THAT(page, HasSubstr("LASTS[<OPTION value=\"Voice1\" SELECTED>Voice1</OPTION>\r\n"
                              "<OPTION value=\"a\">a</OPTION>\r\n]"));
  EXPECT_THAT(page, HasSubstr("$!OPENBASEFORM!$\r\n style=\"display:block\"\r\n"));
}

TEST_F(HandlerTest, JihoFormSavesThenReportsWhatTheReloadFound) {
  const std::string page = Get("/?JIHOSET=1&JIHOTYPE=1&JIHOFDR=nowhere");
  EXPECT_EQ(ReadJihoSettings(app->Paths().settings).Type, 1);
  // Saved, then checked: the heading does not claim that nothing was saved.
  EXPECT_THAT(page, HasSubstr("ERR[<FONT color=red><B><I>設定は保存しましたが、以下の問題が発見され"
                              "ました</I></B></FONT><SMALL><BR>時報音声ファイル設定に問題があります"
                              "<BR>\r\n"));
  EXPECT_THAT(page, HasSubstr("GOZEN.WAV ファイルがありません<BR>\r\n"));
  // The heading and 28 names do not fit the panel's 20 lines: the newest stay, the rest counted.
  EXPECT_THAT(view.panel_text, StartsWith("ほか 10 件\r\nROKU.WAV ファイルがありません。\r\n"));
  EXPECT_THAT(view.panel_text, EndsWith("YO.WAV ファイルがありません。\r\n"));
  ASSERT_FALSE(speech.Utterances().empty());
  EXPECT_EQ(speech.Utterances().back().text, "時報音声ファイル設定に問題があります。");
}

}  // namespace
}  // namespace chimewell::testing
