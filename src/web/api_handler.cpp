#include "web/api_handler.h"

#include <nlohmann/json.hpp>

#include "app/application.h"
#include "app/clock_status_json.h"
#include "core/ascii_text.h"
#include "core/clock.h"
#include "core/iso_moment.h"
#include "web/api_answer.h"
#include "web/api_say_request.h"
#include "web/api_texts.h"
#include "web/param_decoding.h"

namespace chimewell {
namespace {

using nlohmann::json;

constexpr int kAccepted = 202;

bool IsRead(const HttpRequestInfo& request) {
  return request.Command == "GET" || request.Command == "HEAD";
}

ApiError RefusalError(AnnouncementRefusal refusal) {
  switch (refusal) {
    case AnnouncementRefusal::kQueueFull:
      return {429, api_texts::kQueueFull};
    case AnnouncementRefusal::kMomentPassed:
      return {400, api_texts::kMomentPassed};
    case AnnouncementRefusal::kEnding:
      return {503, api_texts::kEnding};
  }
  return {503, api_texts::kEnding};
}

void Say(Application& app, const Clock& clock, const HttpRequestInfo& request,
         HttpResponseInfo& response) {
  const SayParse parse = ParseSayRequest(request, clock.WallNow());
  if (!parse.request) return AnswerApiError(response, parse.error);
  const SayRequest& say = *parse.request;
  const AnnouncementResult result = app.SubmitAnnouncement({say.SpokenText(), say.volume, say.at});
  if (!result.accepted) return AnswerApiError(response, RefusalError(result.refusal));
  const json doc = {{"id", result.accepted->id}, {"due", FormatIsoMoment(result.accepted->due)}};
  AnswerApiJson(response, kAccepted, doc.dump());
}

// true, false, or none for anything else; the words a form or a switch may send too.
std::optional<bool> ReadSwitch(std::string_view text) {
  const std::string word = AsciiLowerCopy(text);
  if (word == "true" || word == "on" || word == "1") return true;
  if (word == "false" || word == "off" || word == "0") return false;
  return std::nullopt;
}

std::optional<bool> MutedField(const HttpRequestInfo& request) {
  if (!request.Body.empty() && request.Body.size() <= kMaxApiBodyBytes &&
      ContentType(request) == "application/json") {
    const json doc = json::parse(request.Body, nullptr, false);
    if (doc.is_object()) {
      const auto muted = doc.find("muted");
      if (muted != doc.end() && muted->is_boolean()) return muted->get<bool>();
    }
    return std::nullopt;
  }
  return ReadSwitch(GetParam(request.ParamList, "muted"));
}

void Mute(Application& app, const HttpRequestInfo& request, HttpResponseInfo& response) {
  const auto muted = MutedField(request);
  if (!muted) return AnswerApiError(response, {400, api_texts::kNoMuted});
  if (*muted != app.Menu().Muted()) app.SetMuted(*muted);
  AnswerApiJson(response, 200, json{{"muted", app.Menu().Muted()}}.dump());
}

}  // namespace

void HandleApiRequest(Application& app, const Clock& clock, const HttpRequestInfo& request,
                      HttpResponseInfo& response) {
  const std::string& path = request.Document;
  const bool known =
      path == "/api/say" || path == "/api/time" || path == "/api/mute" || path == "/api/status";
  if (!known) return AnswerApiError(response, {404, api_texts::kUnknownPath});
  if (path == "/api/status") {
    if (!IsRead(request)) return AnswerApiError(response, {405, api_texts::kWrongMethod});
    return AnswerApiJson(response, 200, ClockStatusJson(app.Status()));
  }
  if (app.ExitRequested()) return AnswerApiError(response, {503, api_texts::kEnding});
  // notify.rest sends its message by GET unless told otherwise; the others change the clock
  // and take POST only.
  if (path == "/api/say") {
    if (request.Command == "HEAD") return AnswerApiError(response, {405, api_texts::kWrongMethod});
    return Say(app, clock, request, response);
  }
  if (request.Command != "POST") return AnswerApiError(response, {405, api_texts::kWrongMethod});
  if (path == "/api/time") {
    app.SpeakCurrentTime();
    return AnswerApiJson(response, kAccepted, json{{"time", true}}.dump());
  }
  Mute(app, request, response);
}

}  // namespace chimewell
