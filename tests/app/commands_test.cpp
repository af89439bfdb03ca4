#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace chimewell::testing {
namespace {

using Commands = AppTest;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(Commands, CleanStartUsesTheDefaultsAndCloseWritesOnlyThePlacement) {
  view.bounds = {0, 0, 10, 10};
  Start();
  EXPECT_EQ(view.bounds.width, 391);
  EXPECT_EQ(view.bounds.height, 287);
  EXPECT_EQ(view.bounds.left, 245);
  EXPECT_EQ(view.bounds.top, 106);
  EXPECT_EQ(view.port_edit, "8080");
  EXPECT_EQ(view.version.rfind("Version ", 0), 0u);
  EXPECT_NE(view.version.find(" (build:"), std::string::npos);
  EXPECT_FALSE(view.about_visible);
  EXPECT_TRUE(view.port_controls_visible);
  app->ChooseMenuItem(MenuItem::PM_Exit);
  EXPECT_TRUE(view.closed);
  const std::string ini = ReadText(dir / "chimewell.ini");
  EXPECT_EQ(ini, "[App]\nWidth=391\nHeight=287\nLeft=245\nTop=106\n");
}

TEST_F(Commands, EditConfigOpensThePageOnThisMachinesOwnAddress) {
  WriteFile("chimewell.ini", "[App]\nPortNumber=8123\n");
  Start();
  app->ChooseMenuItem(MenuItem::PM_Config);
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"http://localhost:8123/"}));
}

TEST_F(Commands, AuthorPageNeedsAnAddressInTheInfoFile) {
  Start();
  app->ChooseMenuItem(MenuItem::PM_URL);
  EXPECT_EQ(view.panel_text, "INIファイルにURL記述がありません");
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(Commands, PortPanelRefusesBadNumbersAndStoresAGoodOne) {
  Start();
  app->ChooseMenuItem(MenuItem::PM_About);
  EXPECT_TRUE(view.about_visible);
  view.port_edit = "70000";
  app->PortButtonClick();
  EXPECT_EQ(view.panel_text, "ポート番号は 1～65535 の範囲です");
  EXPECT_TRUE(view.about_visible);
  EXPECT_FALSE(std::filesystem::exists(dir / "chimewell.ini"));
  view.port_edit = "8081";
  app->PortButtonClick();
  EXPECT_FALSE(view.about_visible);
  EXPECT_EQ(ReadText(dir / "chimewell.ini"), "[App]\nPortNumber=8081\n");
}

TEST_F(Commands, DoubleClickFollowsItsSetting) {
  WriteFile("chimewell.ini", "[Config]\nDoubleClick=1\n");
  Start();
  app->PM_MenuClick(MenuItem::PM_Config, ClickSource::ClockDoubleClick);
  EXPECT_FALSE(view.showing);  // 1: show/hide the clock
  app->PM_MenuClick(MenuItem::PM_Config, ClickSource::TrayDoubleClick);
  EXPECT_TRUE(view.showing);
}

TEST_F(Commands, DoubleClickAnnouncesTheTimeByDefault) {
  clock.Set(At(15, 0, 0));
  Start();
  app->PM_MenuClick(MenuItem::PM_Config, ClickSource::ClockDoubleClick);
  EXPECT_EQ(LogLinesContaining("Set[Message]Thread 3時 vol=100 count:1").size(), 1u)
      << ::testing::PrintToString(app->Logs().Lines());
}

TEST_F(Commands, StartUpReportsScheduleErrorsInThePanel) {
  WriteFile("chimewell.sch", "Speak \"ok\" At 7:00\r\nSpeak \"bad\" At 25:00\r\n");
  Start();
  EXPECT_TRUE(view.panel_visible);
  EXPECT_NE(view.panel_text.find("スクリプトの 2行目"), std::string::npos) << view.panel_text;
  EXPECT_NE(view.panel_text.find("設定スクリプトにエラーがあります"), std::string::npos);
  EXPECT_EQ(app->ScheduleData().ScheduleEntries().size(), 1u);
}

TEST_F(Commands, StartUpRemovesWhatInterruptedSavesLeft) {
  // No process has an id this large: leftovers that no running program can own.
  WriteFile(".chimewell.ini.tmp999999999-0", "[App]\nPortNumber=1\n");
  WriteFile(".chimewell.sch.tmp999999999-3", "Speak x");
  WriteFile("chimewell.sch", "Speak \"ok\" At 7:00\r\n");
  Start();
  EXPECT_FALSE(std::filesystem::exists(dir / ".chimewell.ini.tmp999999999-0"));
  EXPECT_FALSE(std::filesystem::exists(dir / ".chimewell.sch.tmp999999999-3"));
  EXPECT_EQ(app->ScheduleData().ScheduleEntries().size(), 1u);
}

TEST_F(Commands, AThousandBadLinesAtStartUpSetThePanelOnce) {
  std::string script;
  for (int i = 0; i < 1000; ++i) script += "bad line\r\n";
  WriteFile("chimewell.sch", script);
  Start();
  EXPECT_EQ(view.panel_updates, 1);
  EXPECT_TRUE(view.panel_text.starts_with("ほか 981 件\r\nスクリプトの 982行目1項目めに"))
      << view.panel_text.substr(0, 200);
  EXPECT_TRUE(view.panel_text.ends_with("\r\n設定スクリプトにエラーがあります"));
}

TEST_F(Commands, MuteAndPauseMarksShowInTheStatusLine) {
  Start();
  app->ChooseMenuItem(MenuItem::PM_Mute);
  EXPECT_EQ(view.status, "【消音】 スケジュールはセットされていません");
  app->ChooseMenuItem(MenuItem::PM_Mute);
  EXPECT_EQ(view.status, " スケジュールはセットされていません");
}

}  // namespace
}  // namespace chimewell::testing
