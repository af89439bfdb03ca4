// The schedule, test and clock-face forms through the request handler, on an application
// running on fakes with its files in a temporary folder.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "core/ini_file.h"
#include "web/handler_fixture.h"

namespace chimewell::testing {
namespace {

class FormHandlersTest : public AppTest {
 protected:
  void SetUp() override {
    WriteFile("chimewell.sch", "# old\r\n");
    WriteFile("chimewell.html", "$!ERRORMSG!$|$!CONTSTR!$|$!MSGSTR!$|$!WAVEFILE!$");
    Start();
    handler = std::make_unique<RequestHandler>(*app, PageServices{fonts, files, clock, speech});
  }
  // The page answered to "/?<query>".
  std::string Get(const std::string& query) {
    HttpResponseInfo response;
    handler->IdHTTPServer1CommandGet(LocalScriptRequest("/?" + query), response);
    return response.BodyText;
  }
  std::string Schedule() const { return ReadBytes(dir / "chimewell.sch"); }
  int ClockKey(const char* key) const {
    return IniFile(dir / "chimewell.ini").ReadInteger("Clock", key, -99);
  }

  std::unique_ptr<RequestHandler> handler;
};

TEST_F(FormHandlersTest, AddedLineIsLoadedAndSaved) {
  // SCHEADD wins over SCHESET.
  Get("SCHEADD=1&SCHESET=1&CONTENTS=x&SCHECMD=MESS&SCHEARG=%E3%81%82&SCHEINTB=AT&SCHE1HOUR=7&"
      "SCHE1MIN=30&SCHEREPEAT=1&SCHEW2=1");
  EXPECT_EQ(Schedule(), "# old\r\nSpeak \"あ\" At 7:30 repeat 1 every 月\r\n");
  EXPECT_EQ(app->ScheduleData().ScheduleEntries().size(), 1u);
  // The next times were computed afresh when the request re-armed the tick.
  EXPECT_NE(app->ScheduleData().ScheduleEntries()[0].NextTime, 0);

  // A blank argument is refused before anything changes.
  const std::string page = Get("SCHEADD=1&SCHEARG=+++&SCHECMD=MESS");
  EXPECT_NE(page.find("時報書式/メッセージ/ファイルが指定されていません"), std::string::npos);
  EXPECT_EQ(app->ScheduleLines().size(), 2u);
}

TEST_F(FormHandlersTest, ReplacedScriptIsSavedOnlyWhenEveryLineParses) {
  Get("SCHESET=1&CONTENTS=");
  EXPECT_EQ(Schedule(), "#スケジュールの設定はありません\r\n");

  Get("SCHESET=1&CONTENTS=Time+%22%5Bhour%5D%22+At+12%3A00+repeat+1%0D%0A%23+x");
  const std::string good = "Time \"[hour]\" At 12:00 repeat 1\r\n# x\r\n";
  EXPECT_EQ(Schedule(), good);

  const std::string page =
      Get("SCHESET=1&CONTENTS=Nonsense%0ATime+%22%5Bhour%5D%22+At+1%3A00+repeat+1");
  EXPECT_NE(page.find("スクリプトにエラーがあります"), std::string::npos);
  EXPECT_NE(page.find("Nonsense"), std::string::npos);  // kept on the page for correction
  EXPECT_EQ(Schedule(), good);
  // What ran before the refused edit still runs.
  EXPECT_EQ(app->ScheduleLines(), (LineList{"Time \"[hour]\" At 12:00 repeat 1", "# x"}));
  ASSERT_EQ(app->ScheduleData().ScheduleEntries().size(), 1u);
  EXPECT_EQ(app->ScheduleData().ScheduleEntries()[0].Seconds, 12 * 3600);
}

TEST_F(FormHandlersTest, FailedScheduleWriteEndsTheRequestAndKeepsTheFile) {
  std::filesystem::remove(dir / "chimewell.sch");
  std::filesystem::create_directory(dir / "chimewell.sch");  // cannot be replaced by a file
  EXPECT_THROW(Get("SCHESET=1&CONTENTS=%23+new"), FileWriteError);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "chimewell.sch"));
}

// Files shared with the Windows program stay in its encoding until a value needs UTF-8.
TEST_F(FormHandlersTest, Cp932FilesStayCp932UntilAValueNeedsUtf8) {
  WriteFile("chimewell.sch", "# \x8e\x9e\x95\xf1\r\n");
  WriteFile("chimewell.ini", "[Clock]\r\nDateName=\x82\x6c\x82\x72\r\n");
  const std::string add =
      "SCHEADD=1&SCHECMD=MESS&SCHEINTB=AT&SCHE1HOUR=7&SCHE1MIN=30&SCHEREPEAT=1&";
  Get(add + "SCHEARG=%E3%81%82");
  EXPECT_EQ(Schedule(), "# old\r\nSpeak \"\x82\xa0\" At 7:30 repeat 1\r\n");
  Get("DIGISET=1&DATEFORMAT=%E6%97%A5&DATESIZE=20&DATEX=1&DATEY=2&HHMMSIZE=70&HHMMX=3&"
      "HHMMY=4&AMPMSIZE=22&AMPMX=5&AMPMY=6&SECSIZE=18&SECX=7&SECY=8");
  EXPECT_NE(ReadBytes(dir / "chimewell.ini").find("DateFormat=\x93\xfa\r\n"), std::string::npos);
  EXPECT_TRUE(LogLinesContaining("UTF-8").empty());

  Get(add + "SCHEARG=%F0%9F%98%80");
  EXPECT_EQ(Schedule(),
            "# old\r\nSpeak \"あ\" At 7:30 repeat 1\r\nSpeak \"😀\" At 7:30 repeat 1\r\n");
  Get("DIGISET=1&DATEFORMAT=%F0%9F%98%80&DATESIZE=20&DATEX=1&DATEY=2&HHMMSIZE=70&HHMMX=3&"
      "HHMMY=4&AMPMSIZE=22&AMPMX=5&AMPMY=6&SECSIZE=18&SECX=7&SECY=8");
  EXPECT_NE(ReadBytes(dir / "chimewell.ini").find("DateFormat=😀\r\n"), std::string::npos);
  EXPECT_EQ(LogLinesContaining("で書けない文字があるため、UTF-8 で保存しました").size(), 2u);
}

TEST_F(FormHandlersTest, ClockFormSavesGoodValuesAndReportsProblemsInOrder) {
  const std::string form =
      "DIGISET=1&DATEFORMAT=%5Bday%5D&DATESIZE=20&DATEX=1&DATEY=2&HHMMSIZE=70&HHMMX=3&HHMMY=4&"
      "AMPMSIZE=22&AMPMX=5&AMPMY=6&SECSIZE=18&SECX=7&SECY=8&BACKCOLOR=ff0000&SECBOLD=1";
  Get("DATECHECK=true&DATEFONT=&" + form);
  EXPECT_EQ(ClockKey("BackColor"), 255);
  EXPECT_EQ(ClockKey("DateSize"), 20);
  EXPECT_EQ(ClockKey("SecBold"), 1);
  EXPECT_EQ(app->ClockFace().BackColor, 255u);

  const std::string page = Get("DATESIZE=0&HHMMX=-1&SECCOLOR=%23FF0000&DATECHECK=TRUE&" + form);
  const size_t font = page.find("日付フォントの指定に問題があります");
  const size_t position = page.find("時分位置指定がマイナスです");
  const size_t colour = page.find("色指定に問題があります");
  ASSERT_NE(colour, std::string::npos);
  EXPECT_LT(font, position);
  EXPECT_LT(position, colour);
  EXPECT_EQ(ClockKey("DateSize"), 20);  // nothing of the bad form saved
  EXPECT_EQ(app->ClockFace().DateSize, 20);
}

TEST_F(FormHandlersTest, TestCommandsCheckTheirInput) {
  EXPECT_NE(
      Get("JIHOTEST=1&DATE=2004%2F2%2F30&TIME=12%3A00.00").find("日付時刻指定に誤りがあります"),
      std::string::npos);
  EXPECT_NE(
      Get("MSGTEST=1&MSGSTR=x&DATE=2004%2F1%2F5&TIME=12%3A30").find("日付時刻指定に誤りがあります"),
      std::string::npos);
  const std::string missing = Get("WAVETEST=1&WAVEFILE=%2Fno%2Fsuch.wav");
  // A test saves nothing, and its heading does not say that something was not saved.
  EXPECT_NE(missing.find("以下の問題が発見されました</I></B></FONT><SMALL><BR>"
                         "指定のファイルがありません<BR>"),
            std::string::npos);
  EXPECT_EQ(missing.find("保存されませんでした"), std::string::npos);
  EXPECT_NE(missing.find("前回のファイルは「/no/such.wav」"), std::string::npos);

  // A message for a given moment is expanded for that moment and queued once.
  const std::string page =
      Get("MSGTEST=1&MSGSTR=%5Bhour%5D%5Bmin%5D&DATE=2004%2F01%2F05&TIME=7%3A05.00");
  EXPECT_EQ(page.find("日付時刻指定に誤りがあります"), std::string::npos);
  EXPECT_NE(page.find("メッセージを再生しています"), std::string::npos);
  EXPECT_FALSE(LogLinesContaining("7時5分").empty());
}

TEST_F(FormHandlersTest, AClockThatCannotSpeakSaysSoAtThePagesTopAndInItsTests) {
  constexpr const char* kNoVoice = "音声が出ません：声を入れてください";
  app.reset();
  speech.SetUnavailable(kNoVoice);
  std::vector<std::string> told;
  Start([&](const std::string& text) { told.push_back(text); });
  handler = std::make_unique<RequestHandler>(*app, PageServices{fonts, files, clock, speech});
  EXPECT_EQ(told, std::vector<std::string>{kNoVoice});
  EXPECT_NE(view.panel_text.find(kNoVoice), std::string::npos);
  const std::string top = "<DIV class=\"problems\"><B>Chimewell は今、音を出せません</B><UL><LI>" +
                          std::string(kNoVoice) + "</LI></UL></DIV>";
  EXPECT_TRUE(Get("").starts_with(top));
  const std::string page = Get("MSGTEST=1&MSGSTR=x&DATE=2004%2F01%2F05&TIME=7%3A05.00");
  EXPECT_NE(page.find("以下の問題が発見されました</I></B></FONT><SMALL><BR>" + std::string(kNoVoice)),
            std::string::npos);
  EXPECT_TRUE(LogLinesContaining("Set[Message]Thread").empty());  // nothing queued unheard
  // The engine's own report when asked to speak is not told a second time.
  const size_t logged = LogLinesContaining(kNoVoice).size();
  app->ReportProblem(kNoVoice);
  EXPECT_EQ(LogLinesContaining(kNoVoice).size(), logged);

  // The sound output lost and back: shown while it lasts.
  app->ReportProblem("サウンド出力が使えません");
  EXPECT_NE(Get("").find("<LI>サウンド出力が使えません</LI>"), std::string::npos);
  app->ReportProblem("サウンド出力を再開しました");
  EXPECT_EQ(Get("").find("<LI>サウンド出力が使えません</LI>"), std::string::npos);
  EXPECT_EQ(told.size(), 2u);
}

TEST_F(FormHandlersTest, BaseFormNamesEachValueItStoredOtherwiseThanSent) {
  struct Case {
    const char* fields;
    int offset, volume, back;
    const char* notice;  // empty: the page says nothing
  };
  const Case cases[] = {
      {"SPEAKOFFSET=300&MIDIVOLUME=70&MIDIBACK=20", 300, 70, 20, ""},
      // Fields not sent keep what is stored, as a script sends only what it changes.
      {"SPEAKOFFSET=500&MIDIVOLUME=100&MIDIBACK=20", 500, 100, 20, ""},
      {"MIDIBACK=10", 500, 100, 10, ""},
      // Sent empty is not a number.
      {"SPEAKOFFSET=&MIDIBACK=20", 0, 100, 20, ""},
      {"SPEAKOFFSET=abc&MIDIVOLUME=70&MIDIBACK=20", 0, 70, 20,
       "早めに話し始める時間の &#39;abc&#39; は数ではありません。0にしました"},
      {"SPEAKOFFSET=300&MIDIVOLUME=5&MIDIBACK=20", 300, 10, 20,
       "標準の音量は10～100です。10にしました"},
      {"SPEAKOFFSET=-5&MIDIVOLUME=70&MIDIBACK=250", 0, 70, 100,
       "早めに話し始める時間は0～10000です。0にしました<BR>\r\n"
       "話している間のBGM音量は0～100です。100にしました"},
      {"SPEAKOFFSET=300&MIDIVOLUME=70&MIDIBACK=20&TTRAY=7", 300, 70, 20,
       "ダブルクリックの動作は0～2です。0にしました"},
  };
  for (const Case& c : cases) {
    const std::string page = Get(std::string("BASESET=1&") + c.fields);
    EXPECT_EQ(app->Config().SpeakOffset, c.offset) << c.fields;
    EXPECT_EQ(app->Config().DefaultVolume, c.volume) << c.fields;
    EXPECT_EQ(app->Config().BackVolume, c.back) << c.fields;
    const std::string area = page.substr(0, page.find('|'));
    const std::string notices = *c.notice == 0 ? "" : std::string(c.notice) + "<BR>\r\n";
    EXPECT_EQ(area, "<DIV class=\"notice\"><B>" + notices + "基本設定を保存しました</B></DIV>\r\n")
        << c.fields;
  }
  EXPECT_EQ(IniFile(dir / "chimewell.ini").ReadInteger("Config", "BackVolume", -1), 20);
}

TEST_F(FormHandlersTest, ExitIsAnsweredWithItsWordOnThePage) {
  const std::string page = Get("EXIT=1");
  EXPECT_TRUE(app->ExitRequested());
  EXPECT_TRUE(page.starts_with("<DIV class=\"notice\"><B>Chimewell を終了しました</B></DIV>"))
      << page;
}

}  // namespace
}  // namespace chimewell::testing
