#pragma once
// The request handler over an application built on fakes, with a small page template.
#include <string>

#include "app/app_fixture.h"
#include "core/ini_file.h"
#include "web/param_decoding.h"
#include "web/request_handler.h"

namespace chimewell::testing {

// A template with the placeholders the handler tests look at, one per line.
inline constexpr const char* kHandlerTemplate =
    "$!OPENSCHEFORM!$\n$!OPENBASEFORM!$\n$!OPENJIHOFORM!$\n$!OPENDIGIFORM!$\n$!OPENTESTCFG!$\n"
    "ERR[$!ERRORMSG!$]\nFMT[$!JIHOFORMAT!$]\nLASTS[$!JIHOLASTS!$]\nPAUSE[$!PAUSELABEL!$]\n"
    "MUTE[$!MUTELABEL!$]\nCOUNT[$!CHECKED00!$|$!CHECKED05!$]\nOFFSET[$!SPEAKOFFSET!$]\n"
    "FONTS[$!DATEFONTNAMES!$]\nLOGIN[$!AUTOSTART!$]\n";

// A GET of `target` as a script on this machine sends it (curl on localhost), so that the
// changes it carries apply.
inline HttpRequestInfo LocalScriptRequest(const std::string& target) {
  HttpRequestInfo request;
  request.Command = "GET";
  const size_t query = target.find('?');
  request.Document = target.substr(0, query);
  if (query != std::string::npos) request.UnparsedParams = target.substr(query + 1);
  request.ParamList = DecodeParams(request.UnparsedParams);
  request.Header = {"Host: localhost", ""};
  request.Host = "localhost";
  request.PeerAddress = "127.0.0.1";
  request.LocalPeer = true;
  return request;
}

class HandlerTest : public AppTest {
 protected:
  void SetUp() override {
    WriteFile("chimewell.html", kHandlerTemplate);
    Start();
    handler = std::make_unique<RequestHandler>(*app, PageServices{fonts, files, clock, speech});
    handler->BuildPageCache();
  }

  static HttpRequestInfo Request(const std::string& target) { return LocalScriptRequest(target); }
  std::string Get(const std::string& target) { return Send(Request(target)); }
  std::string Send(const HttpRequestInfo& request) {
    HttpResponseInfo response;
    handler->IdHTTPServer1CommandGet(request, response);
    EXPECT_EQ(response.StatusCode, 200);
    return response.BodyText;
  }
  std::string SettingsValue(std::string_view section, std::string_view key) {
    return IniFile(app->Paths().settings).ReadString(section, key, "<absent>");
  }

  std::unique_ptr<RequestHandler> handler;
};

}  // namespace chimewell::testing
