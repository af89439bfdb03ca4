// The request handler: which form a request reaches, what it changes, and the page it gets.
#include <gmock/gmock.h>

#include <filesystem>

#include "core/settings_store.h"
#include "web/handler_fixture.h"

namespace chimewell::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kShown = " style=\"display:block\"";

TEST_F(HandlerTest, AnotherPathGetsTheFixedPageAndLeavesTheTickAlone) {
  const int arms = timer.Arms();
  const int interval = timer.Interval();
  const std::string page = Get("/favicon.ico?BASESET=1&SPEAKOFFSET=7");
  EXPECT_THAT(page, HasSubstr("<H1>他のページは表示できません</H1>"));
  EXPECT_THAT(page, HasSubstr("<A href=\"/\">設定画面</A></BODY></HTML>"));
  EXPECT_EQ(timer.Arms(), arms);
  EXPECT_EQ(timer.Interval(), interval);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_NE(app->Config().SpeakOffset, 7);
}

TEST_F(HandlerTest, TheGuideIsServedAtItsOwnAddress) {
  std::filesystem::create_directories(dir / "doc");
  WriteFile("doc/index.html", "<html>使い方</html>");
  EXPECT_EQ(Get("/doc/index.html"), "<html>使い方</html>");
  std::filesystem::remove(dir / "doc" / "index.html");
  EXPECT_THAT(Get("/doc/index.html"), HasSubstr("他のページは表示できません"));
}

TEST_F(HandlerTest, BaseFormClampsAndReplacesValuesAndWritesThemInOrder) {
  const std::string page =
      Get("/?BASESET=1&SPEAKOFFSET=-5&TTRAY=7&MIDIVOLUME=abc&MIDIBACK=250&LATELIMIT=-1");
  const ConfigSettings& config = app->Config();
  EXPECT_EQ(config.SpeakOffset, 0);
  EXPECT_EQ(config.LateLimit, 0);
  EXPECT_EQ(config.DoubleClick, 0);
  EXPECT_EQ(config.DefaultVolume, 80);
  EXPECT_EQ(config.BackVolume, 100);
  EXPECT_FALSE(config.IconicStart);
  EXPECT_FALSE(config.LipsView);
  EXPECT_THAT(page, HasSubstr(std::string(kShown) + "\r\n$!OPENJIHOFORM!$"));
  EXPECT_THAT(page, HasSubstr("OFFSET[0]"));
  EXPECT_EQ(ReadStartupSettings(app->Paths().settings).config, config);

  Get("/?BASESET=1&SPEAKOFFSET=20000&TTRAY=2&MIDIVOLUME=3&ICONICSTART=1&LIPSVIEW=1"
      "&LATELIMIT=99999");
  EXPECT_EQ(config.SpeakOffset, 10000);
  EXPECT_EQ(config.LateLimit, 86400);
  EXPECT_EQ(config.DoubleClick, 2);
  EXPECT_EQ(config.DefaultVolume, 10);
  EXPECT_EQ(config.BackVolume, 100);  // not sent: kept
  EXPECT_TRUE(config.IconicStart && config.LipsView);
}

TEST_F(HandlerTest, BaseFormWritesOrRemovesTheLoginEntryOnlyWhenItsBoxIsOnThePage) {
  const std::string entry = app->Paths().autostart.path;
  // A ticked box comes before the hidden 0 that stands for an unticked one.
  EXPECT_THAT(Get("/?BASESET=1&AUTOSTART=1&AUTOSTART=0"), HasSubstr("LOGIN[checked]"));
  EXPECT_TRUE(std::filesystem::exists(entry));
  Get("/?BASESET=1&SPEAKOFFSET=10");  // a page of older days, without the box
  EXPECT_TRUE(std::filesystem::exists(entry));
  EXPECT_THAT(Get("/?BASESET=1&AUTOSTART=0"), HasSubstr("LOGIN[]"));
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_EQ(SettingsValue("Config", "SpeakOffset"), "10");  // not sent the last time: kept
}

TEST_F(HandlerTest, AnEmptyMarkerOnlyRendersThePage) {
  const ConfigSettings before = app->Config();
  const std::string page = Get("/?BASESET=&SPEAKOFFSET=300");
  EXPECT_EQ(app->Config(), before);
  EXPECT_EQ(SettingsValue("Config", "SpeakOffset"), "<absent>");
  // No section opens: every mark stays in the page as written.
  EXPECT_THAT(page, HasSubstr("$!OPENSCHEFORM!$\r\n$!OPENBASEFORM!$\r\n$!OPENJIHOFORM!$"));
  EXPECT_THAT(page, HasSubstr("$!OPENTESTCFG!$"));
}

TEST_F(HandlerTest, OnlyTheFirstFormOfTheDispatchOrderRuns) {
  const std::string page = Get("/?JIHOSET=1&BASESET=1&SPEAKOFFSET=300&JIHOFORMAT=x&PAUSE=1");
  EXPECT_EQ(app->Config().SpeakOffset, 300);
  EXPECT_EQ(SettingsValue("Jiho", "Format"), "<absent>");
  EXPECT_FALSE(app->Menu().Paused());
  EXPECT_THAT(page, HasSubstr("$!OPENJIHOFORM!$"));
}

TEST_F(HandlerTest, PauseIgnoresItsValueAndLeavesTheTickStoppedLikeTheMenu) {
  std::string page = Get("/?PAUSE=0");
  EXPECT_TRUE(app->Menu().Paused());
  EXPECT_FALSE(timer.Enabled());
  EXPECT_THAT(page, HasSubstr("PAUSE[一時停止から再開する]"));
  EXPECT_THAT(page, HasSubstr("$!OPENSCHEFORM!$\r\n$!OPENBASEFORM!$"));  // only the test one
  EXPECT_THAT(page, HasSubstr(std::string(kShown) + "\r\nERR[]"));

  // Other requests while paused leave the tick stopped too.
  Get("/?BASESET=1&SPEAKOFFSET=10");
  EXPECT_FALSE(timer.Enabled());

  page = Get("/?PAUSE=0");
  EXPECT_FALSE(app->Menu().Paused());
  EXPECT_TRUE(timer.Enabled());
  EXPECT_THAT(page, HasSubstr("PAUSE[一時停止する]"));
}

TEST_F(HandlerTest, MuteSetsTheMarkFromItsValue) {
  Get("/?MUTE=1");
  EXPECT_TRUE(app->Menu().Muted());
  const std::string page = Get("/?MUTE=1");
  EXPECT_TRUE(app->Menu().Muted());
  EXPECT_THAT(page, HasSubstr("MUTE[消音を解除する]"));
  Get("/?MUTE=0");
  EXPECT_FALSE(app->Menu().Muted());
}

TEST_F(HandlerTest, CountSetChoosesTheIntervalAndAnythingElseSwitchesItOff) {
  std::string page = Get("/?COUNTSET=1&COUNT=5");
  EXPECT_EQ(app->Menu().CountInterval(), 5);
  EXPECT_THAT(page, HasSubstr("COUNT[|checked]"));
  page = Get("/?COUNTSET=1&COUNT=20");
  EXPECT_EQ(app->Menu().CountItem(), MenuItem::PM_TempCountOff);
  EXPECT_THAT(page, HasSubstr("COUNT[checked|]"));
}

TEST_F(HandlerTest, ARequestRearmsTheTickForTheNextEvent) {
  timer.Disable();
  Get("/");
  EXPECT_TRUE(timer.Enabled());
  EXPECT_LE(timer.Interval(), 1001);
}

TEST_F(HandlerTest, ExitAnswersThePageAndTheNextTickCloses) {
  const std::string page = Get("/?EXIT=1");
  EXPECT_THAT(page, HasSubstr("FMT["));
  EXPECT_TRUE(app->ExitRequested());
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(timer.Interval(), kExitTickDelayMs);
  // Nothing more is applied once the program is ending.
  Get("/?MUTE=1");
  EXPECT_FALSE(app->Menu().Muted());
  timer.FireNow();
  EXPECT_TRUE(view.closed);
}

TEST_F(HandlerTest, ExitWhilePausedStillCloses) {
  Get("/?PAUSE=1");
  ASSERT_FALSE(timer.Enabled());
  Get("/?EXIT=1");
  ASSERT_TRUE(timer.Enabled());
  timer.FireNow();
  EXPECT_TRUE(view.closed);
}

TEST_F(HandlerTest, ACrossSiteRequestChangesNothing) {
  const size_t spoken = speech.Utterances().size();
  HttpRequestInfo request = Request("/?PAUSE=1");
  request.Header = {"Host: localhost:8080", "sec-fetch-site:  Cross-Site ", ""};
  std::string page = Send(request);
  EXPECT_FALSE(app->Menu().Paused());
  EXPECT_THAT(page, HasSubstr("PAUSE[一時停止する]"));
  // The page says why; the clock does not speak for another site.
  EXPECT_THAT(page, HasSubstr("変更しませんでした"));
  EXPECT_EQ(speech.Utterances().size(), spoken);
  EXPECT_THAT(Get("/"), Not(HasSubstr("変更しませんでした")));

  request = Request("/?BASESET=1&SPEAKOFFSET=300");
  request.Header = {"Sec-Fetch-Site: cross-site", ""};
  Send(request);
  EXPECT_NE(app->Config().SpeakOffset, 300);

  // The same form from the page itself, or typed into the address bar, works.
  request.Header = {"Sec-Fetch-Site: same-origin", ""};
  Send(request);
  EXPECT_EQ(app->Config().SpeakOffset, 300);
}

TEST_F(HandlerTest, DebugModeLogsTheCommandAndEachParameterRaw) {
  WriteFile("chimewell.imi", "[App]\r\nDebug=1\r\n");
  app.reset();
  Start();
  handler = std::make_unique<RequestHandler>(*app, PageServices{fonts, files, clock, speech});
  Get("/?A=1&b=x+y&accessPassword=secret-pass&C=" + std::string(300, 'z'));
  const std::vector<std::string> lines = app->Logs().Lines();
  ASSERT_GE(lines.size(), 5u);
  // A new access password is never logged; a long parameter is cut at 200 characters.
  EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
            (std::vector<std::string>{"command GET", "param:A=1", "param:b=x y",
                                      "param:ACCESSPASSWORD=***",
                                      "param:C=" + std::string(198, 'z') + "…"}));
}

TEST_F(HandlerTest, EmptyScheduleTextIsReportedInPanelSpeechLogAndPage) {
  const std::string page = Get("/?SCHEADD=1&SCHEARG=%20%20");
  const std::string problem = "時報書式/メッセージ/ファイルが指定されていません";
  EXPECT_THAT(page, HasSubstr(kShown));
  EXPECT_THAT(page, HasSubstr("ERR[<FONT color=red><B><I>以下の問題が発見されたため、"
                              "設定は保存されませんでした</I></B></FONT><SMALL><BR>" +
                              problem + "<BR></SMALL><HR>\r\n]"));
  EXPECT_EQ(view.panel_text, problem);
  ASSERT_FALSE(speech.Utterances().empty());
  EXPECT_EQ(speech.Utterances().back().text, problem);
  EXPECT_FALSE(LogLinesContaining(problem).empty());
}

TEST_F(HandlerTest, AScriptOfManyBadLinesSetsThePanelOncePerRequest) {
  std::string contents;
  for (int i = 0; i < 2000; ++i) contents += "x%0D%0A";
  const int before = view.panel_updates;
  const std::string page = Get("/?SCHESET=1&CONTENTS=" + contents);
  EXPECT_EQ(view.panel_updates, before + 1);
  // The page and the panel list the first problems and count the rest.
  const std::string last_listed =
      "スクリプトの 20行目1項目めにエラーがあります：'x' は知らない命令です（Speak, Time, Wave, "
      "Midi）";
  EXPECT_TRUE(view.panel_text.ends_with(last_listed + "。\r\nほか 1980 件"))
      << view.panel_text.substr(view.panel_text.size() - 200);
  EXPECT_THAT(page, HasSubstr("ほか 1980 件<BR></SMALL>"));
  EXPECT_THAT(page, Not(HasSubstr("21行目")));
}

TEST_F(HandlerTest, StoredFormatWithMarkupShowsAsText) {
  Get("/?JIHOSET=1&JIHOFORMAT=%22%3E%3Cscript%3Ealert(1)%3C/script%3E&JIHOFDR=v");
  const std::string page = Get("/");
  EXPECT_THAT(page, Not(HasSubstr("<script>")));
  EXPECT_THAT(page, HasSubstr("FMT[&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;]"));
  EXPECT_THAT(page, HasSubstr("value=\"v\" SELECTED>v</OPTION>"));
}

TEST_F(HandlerTest, FontListsAreBuiltOnceFromTheCatalogue) {
  EXPECT_THAT(Get("/"), HasSubstr("<OPTION value=\"IPAGothic\">IPAGothic(type:4)</OPTION>"));
}

}  // namespace
}  // namespace chimewell::testing
