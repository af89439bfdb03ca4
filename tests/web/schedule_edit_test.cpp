// Editing the schedule over a real loopback socket: a refused edit changes nothing that runs,
// the page says where and why, and a reloaded addition adds nothing.
#include <gmock/gmock.h>

#include <regex>

#include "web/handler_fixture.h"
#include "web/loopback_client.h"
#include "web/web_config_server.h"

namespace chimewell::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kGoodScript = "Speak \"昼です\" At 11:30\r\n";

class ScheduleEditTest : public HandlerTest {
 protected:
  void SetUp() override {
    WriteFile("chimewell.sch", kGoodScript);
    HandlerTest::SetUp();
    WriteFile("chimewell.html",
              "ERR[$!ERRORMSG!$]\nSCRIPT[$!CONTSTR!$]\nTOKEN[$!SCHETOKEN!$]\nHOLI[$!HOLISTR!$]\n");
    server = std::make_unique<WebConfigServer>(ui, PageServices{fonts, files, clock, speech});
    server->Attach(*app);
    std::string error;
    ASSERT_TRUE(server->Listen(0, error)) << error;
  }
  void TearDown() override { server.reset(); }

  std::string Answer(const std::string& request) {
    const ParsedResponse response =
        ParseResponse(Exchange(static_cast<uint16_t>(server->Port()), request));
    EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK");
    return response.body;
  }
  std::string GetPage(const std::string& query) {
    return Answer("GET /?" + query + " HTTP/1.1\r\nHost: localhost\r\n\r\n");
  }
  std::string PostPage(const std::string& body, const std::string& headers = "") {
    return Answer("POST / HTTP/1.1\r\nHost: localhost\r\n" + headers +
                  "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n" + body);
  }
  static std::string TokenOf(const std::string& page) {
    std::smatch match;
    EXPECT_TRUE(std::regex_search(page, match, std::regex("TOKEN\\[([0-9a-f]{32})\\]"))) << page;
    return match.empty() ? "" : match[1].str();
  }
  std::string ScheduleFile() const { return ReadBytes(dir / "chimewell.sch"); }

  std::unique_ptr<WebConfigServer> server;
};

// "Speak 'x' At 12:00" as the add form sends it.
std::string AddQuery(const std::string& text, const std::string& token,
                     const std::string& hour = "12") {
  return "SCHEADD=1&SCHECMD=MESS&SCHEARG=" + text + "&SCHEINTB=AT&SCHE1HOUR=" + hour +
         "&SCHE1MIN=00&SCHEREPEAT=1" + (token.empty() ? "" : "&SCHETOKEN=" + token);
}

TEST_F(ScheduleEditTest, ARefusedScriptChangesNothingThatRunsAndSaysWhereAndWhy) {
  ASSERT_EQ(view.status, " 次は 11:30.00 『昼です』");
  const std::string page = PostPage(
      "SCHESET=1&CONTENTS=Speek+%22%E3%81%BE%E3%81%A1%E3%81%8C%E3%81%84%22+At+7%3A00%0D%0A"
      "Wave+%2Fno%2Fchime.wav+At+8%3A00%0D%0ASpeak+Hi+At+25%3A00");
  EXPECT_THAT(page, HasSubstr("以下の問題が発見されたため、設定は保存されませんでした"));
  EXPECT_THAT(page, HasSubstr("スクリプトにエラーがあります<BR>\r\n"
                              "スクリプトの 1行目1項目めにエラーがあります：&#39;Speek&#39; "
                              "は知らない命令です（Speak, Time, Wave, Midi）<BR>\r\n"
                              "スクリプトの 2行目2項目めにエラーがあります："
                              "ファイルが見つかりません: /no/chime.wav<BR>\r\n"
                              "スクリプトの 3行目4項目めにエラーがあります：時刻 &#39;25:00&#39; "
                              "は使えません"));
  // The refused text is on the page for correction...
  EXPECT_THAT(page, HasSubstr("SCRIPT[Speek &quot;まちがい&quot; At 7:00\r\n"));
  // ... while the schedule that runs, what it will say next, and the file are as they were.
  EXPECT_EQ(ScheduleFile(), kGoodScript);
  ASSERT_EQ(app->ScheduleData().ScheduleEntries().size(), 1u);
  EXPECT_EQ(view.status, " 次は 11:30.00 『昼です』");
  // The panel shows the same reasons; only the summary is spoken.
  EXPECT_THAT(view.panel_text, HasSubstr("スクリプトの 1行目1項目めにエラーがあります：'Speek'"));
  EXPECT_EQ(speech.Utterances().back().text, "スクリプトにエラーがあります。");

  // An addition goes to the schedule that runs, not to the refused draft.
  const std::string added = GetPage(AddQuery("%E5%A4%95", TokenOf(page)));
  EXPECT_THAT(added, HasSubstr("1件追加しました：Speak &quot;夕&quot; At 12:00 repeat 1"));
  EXPECT_EQ(ScheduleFile(), std::string(kGoodScript) + "Speak \"夕\" At 12:00 repeat 1\r\n");
  EXPECT_THAT(added, Not(HasSubstr("Speek")));

  // The entry that was there all along is heard at its time.
  clock.Set(At(11, 29, 59, 600));
  timer.FireNow();
  EXPECT_EQ(LogLinesContaining("Set[Message]Thread 昼です").size(), 1u);
}

TEST_F(ScheduleEditTest, AnAdditionRepeatedWithItsTokenAddsNothing) {
  const std::string first_page = GetPage("");
  const std::string token = TokenOf(first_page);
  const std::string request = AddQuery("a", token);
  const std::string added = GetPage(request);
  const std::string once = std::string(kGoodScript) + "Speak \"a\" At 12:00 repeat 1\r\n";
  EXPECT_EQ(ScheduleFile(), once);

  // The reload of the answer: the page as usual, with a word, and nothing added.
  const std::string reloaded = GetPage(request);
  EXPECT_THAT(reloaded, HasSubstr("この予定はすでに追加されています"));
  EXPECT_THAT(reloaded, Not(HasSubstr("以下の問題")));
  EXPECT_EQ(ScheduleFile(), once);
  EXPECT_EQ(app->ScheduleLines().size(), 2u);

  // Every page's form carries a token of its own, which adds once.
  const std::string next = TokenOf(added);
  EXPECT_NE(next, token);
  EXPECT_NE(TokenOf(reloaded), next);
  GetPage(AddQuery("b", next));
  EXPECT_EQ(app->ScheduleLines().size(), 3u);

  // A refused addition uses up no token: fixed, the same page adds.
  const std::string fresh = TokenOf(reloaded);
  EXPECT_THAT(GetPage(AddQuery("c", fresh, "25")), HasSubstr("時刻 &#39;25:00&#39; は使えません"));
  EXPECT_EQ(app->ScheduleLines().size(), 3u);
  GetPage(AddQuery("c", fresh));
  EXPECT_EQ(app->ScheduleLines().size(), 4u);

  // Without a token (a script, a bookmark) every request adds, as it always did.
  GetPage(AddQuery("d", ""));
  GetPage(AddQuery("d", ""));
  EXPECT_EQ(app->ScheduleLines().size(), 6u);
}

// The holiday text as the page sends it: "2026/12/07 創立記念日" and the given second line.
std::string HolidayForm(const std::string& second_line) {
  return "HOLISET=1&HOLIDAYS=%23+%E4%BC%91%E3%81%BF%0D%0A2026%2F12%2F07+"
         "%E5%89%B5%E7%AB%8B%E8%A8%98%E5%BF%B5%E6%97%A5%0D%0A" +
         second_line;
}

TEST_F(ScheduleEditTest, TheUsersDaysOffAreSavedAndMoveTheEntriesThatSkipHolidays) {
  PostPage(
      "SCHESET=1&CONTENTS=Speak+%22%E6%98%BC%E3%81%A7%E3%81%99%22+At+11%3A30+NoHoliday%0D%0A"
      "Speak+%E5%A4%95+At+18%3A00");
  ASSERT_EQ(view.status, " 次は 11:30.00 『昼です』");
  const auto next_moment = [this] {
    return FormatDateTime("mm/dd hh:nn", app->ScheduleData().ScheduleEntries()[0].NextTime);
  };

  // Another site's page may not change them.
  const std::string refused = PostPage(HolidayForm(""), "Origin: http://evil.example\r\n");
  EXPECT_THAT(refused, HasSubstr("変更しませんでした"));
  EXPECT_FALSE(std::filesystem::exists(dir / "chimewell.hol"));

  const std::string page = PostPage(HolidayForm("12%2F29+%E5%B9%B4%E6%9C%AB"));
  EXPECT_THAT(page, HasSubstr("休日の一覧を保存しました"));
  EXPECT_THAT(page, HasSubstr("HOLI[# 休み\r\n2026/12/07 創立記念日\r\n12/29 年末\r\n]"));
  EXPECT_EQ(ReadBytes(dir / "chimewell.hol"), "# 休み\r\n2026/12/07 創立記念日\r\n12/29 年末\r\n");
  EXPECT_EQ(app->HolidayLines().size(), 3u);
  // Today is a day off now: the entry moves to tomorrow, and the status line names the next.
  EXPECT_EQ(next_moment(), "12/08 11:29");
  EXPECT_EQ(view.status, " 次は 18:00.00 『夕』");
}

TEST_F(ScheduleEditTest, ARefusedHolidayTextNamesItsBadLinesAndChangesNothing) {
  WriteFile("chimewell.hol", "12/31 大晦日\r\n");
  const std::string page = PostPage(HolidayForm("13%2F45+%E3%81%AA%E3%81%84%E6%97%A5"));
  EXPECT_THAT(page, HasSubstr("以下の問題が発見されたため、設定は保存されませんでした"));
  EXPECT_THAT(page, HasSubstr("休日の一覧にエラーがあります<BR>\r\n"
                              "休日ファイルの 3行目にエラーがあります：&#39;13/45&#39;"));
  EXPECT_THAT(page, Not(HasSubstr("2行目にエラー")));
  // The whole text stays on the page for correction, good lines too; the file is as it was.
  EXPECT_THAT(page, HasSubstr("HOLI[# 休み\r\n2026/12/07 創立記念日\r\n13/45 ない日\r\n]"));
  EXPECT_EQ(ReadBytes(dir / "chimewell.hol"), "12/31 大晦日\r\n");
  EXPECT_THAT(view.panel_text, HasSubstr("休日ファイルの 3行目にエラーがあります：'13/45'"));
}

}  // namespace
}  // namespace chimewell::testing
