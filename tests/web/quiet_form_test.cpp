// The base form's quiet-hours and busy-desktop fields: saved, shown, and a bad time refused.
#include <gtest/gtest.h>

#include "web/handler_fixture.h"

namespace chimewell::testing {
namespace {

class QuietFormTest : public AppTest {
 protected:
  void SetUp() override {
    WriteFile("chimewell.html",
              "$!ERRORMSG!$|$!QUIETFROM!$|$!QUIETTO!$|$!QUIETDAY1!$|$!QUIETDAY2!$|"
              "$!QUIETDAY7!$|$!QUIETBUSY!$");
    Start();
    handler = std::make_unique<RequestHandler>(*app, PageServices{fonts, files, clock, speech});
  }
  std::string Get(const std::string& query) {
    HttpResponseInfo response;
    handler->IdHTTPServer1CommandGet(LocalScriptRequest("/?" + query), response);
    return response.BodyText;
  }
  std::string Stored(const char* key) const {
    return IniFile(dir / "chimewell.ini").ReadString("Config", key, "(none)");
  }

  std::unique_ptr<RequestHandler> handler;
};

TEST_F(QuietFormTest, SavesAndShowsTheSettingsAndRefusesWhatIsNoTime) {
  const struct {
    const char* fields;
    const char* shown;   // after the message area
    const char* notice;  // empty: the page says nothing
  } cases[] = {
      {"QUIETSET=1&QUIETFROM=22:00&QUIETTO=7:00&QUIETDAY1=1&QUIETDAY7=1&QUIETBUSY=0",
       "22:00|7:00|checked||checked|", ""},
      // A page without the fields (an older template) leaves them as they are.
      {"SPEAKOFFSET=300", "22:00|7:00|checked||checked|", ""},
      {"QUIETSET=1&QUIETFROM=25:00&QUIETTO=7:00&QUIETDAY2=1&QUIETBUSY=1&QUIETBUSY=0",
       "22:00|7:00|checked||checked|checked",
       "静かにする時間の始まりの &#39;25:00&#39; は時刻ではありません（例 22:00）。"
       "静かにする時間は変えていません"},
      {"QUIETSET=1&QUIETFROM=+6:30+&QUIETTO=&QUIETDAY2=1&QUIETBUSY=1", "6:30|||checked||checked",
       "静かにする時間は始まりと終わりの両方を入れてください。今は静かにする時間はありません"},
      {"QUIETSET=1&QUIETFROM=&QUIETTO=&QUIETDAY2=1&QUIETBUSY=1", "|||checked||checked", ""},
  };
  for (const auto& c : cases) {
    const std::string page = Get(std::string("BASESET=1&") + c.fields);
    const size_t bar = page.find('|');
    EXPECT_EQ(page.substr(bar + 1), c.shown + std::string("\r\n")) << c.fields;
    const std::string area = page.substr(0, bar);
    if (*c.notice == 0) {
      EXPECT_EQ(area, "<DIV class=\"notice\"><B>基本設定を保存しました</B></DIV>\r\n") << c.fields;
    } else {
      EXPECT_NE(area.find(c.notice), std::string::npos) << c.fields << ": " << area;
    }
  }
  EXPECT_EQ(Stored("QuietFrom"), "");
  EXPECT_EQ(Stored("QuietDays"), "4");
  EXPECT_EQ(Stored("QuietWhenBusy"), "1");
}

}  // namespace
}  // namespace chimewell::testing
