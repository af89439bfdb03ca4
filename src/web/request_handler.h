#pragma once
// The configuration page's request handler: recognises the submitted form, applies it to the
// application and answers with the page rendered from the template.
#include "web/add_tokens.h"
#include "web/http_request_info.h"
#include "web/page_cache.h"
#include "web/request_context.h"

namespace chimewell {

class Application;
class Clock;
class FileSystem;
class FontCatalog;
class SpeechControl;

// The platform pieces the page uses besides the application; all of them outlive it.
struct PageServices {
  const FontCatalog& fonts;
  const FileSystem& files;
  const Clock& clock;
  SpeechControl& speech;  // speaks the first line of a form's problems
};

// How long after an exit request the tick that closes the program runs, so the page that
// answered the request has been sent before the server stops.
inline constexpr int kExitTickDelayMs = 300;

class RequestHandler {
 public:
  RequestHandler(Application& app, PageServices services);

  // Builds the font option lists and the colour grids; the deferred start-up calls it once.
  void BuildPageCache();
  PageCache& Page() { return page_; }

  // One request, on the UI thread. A form that throws (the settings file cannot be written)
  // ends the request with that error; the tick is re-armed either way.
  void IdHTTPServer1CommandGet(const HttpRequestInfo& request, HttpResponseInfo& response);
  // The hash PrepareAccessPasswordHash made for the next request, which takes it.
  void UsePreparedPasswordHash(std::string hash) { prepared_password_hash_ = std::move(hash); }

 private:
  void LogRequest(const HttpRequestInfo& request);
  // The first form or command that the request carries, applied.
  void Dispatch(RequestContext& ctx);
  void ReportErrors(const RequestContext& ctx);
  std::string RenderConfigPage(const RequestContext& ctx);
  void RearmTick();

  Application& app_;
  PageServices services_;
  PageCache page_;
  AddTokens add_tokens_;
  std::string prepared_password_hash_;
};

}  // namespace chimewell
