#include "web/api_say_request.h"

#include <nlohmann/json.hpp>

#include "core/ascii_text.h"
#include "core/iso_moment.h"
#include "core/text_encoding.h"
#include "web/api_texts.h"
#include "web/form_fields.h"
#include "web/http_request_parser.h"
#include "web/param_decoding.h"
#include "web/text_util.h"

namespace chimewell {
namespace {

using nlohmann::json;

SayParse Refuse(int status, const char* reason) { return {std::nullopt, {status, reason}}; }

// A form value or JSON string as spoken: control characters (a line break from a template)
// become blanks, blanks around it go.
std::string Spoken(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  }
  return std::string(TrimBlanksAndControls(text));
}

bool TooLong(const std::string& text) {
  return Utf8Prefix(text, kMaxMessageChars).size() != text.size();
}

// The checks both forms of a request share, once the fields are read as text.
SayParse Finish(SayRequest say, const std::optional<std::string>& at, WallMoment now) {
  if (!IsValidUtf8(say.message) || !IsValidUtf8(say.title)) {
    return Refuse(400, api_texts::kNotUtf8);
  }
  say.message = Spoken(std::move(say.message));
  say.title = Spoken(std::move(say.title));
  if (say.message.empty()) return Refuse(400, api_texts::kNoMessage);
  if (TooLong(say.message) || TooLong(say.title)) return Refuse(413, api_texts::kMessageTooLong);
  if (say.volume && (*say.volume < 1 || *say.volume > 100)) {
    return Refuse(400, api_texts::kBadVolume);
  }
  if (at && !at->empty()) {
    say.at = ParseIsoMoment(*at, now);
    if (!say.at) return Refuse(400, api_texts::kBadMoment);
  }
  return {std::move(say), {}};
}

std::optional<int> FormVolume(const std::string& text, bool& bad) {
  if (text.empty()) return std::nullopt;
  const int volume = FormInteger(text, -1);
  if (volume < 0) bad = true;
  return volume;
}

SayParse FromParams(const DecodedParams& params, WallMoment now) {
  SayRequest say;
  say.message = GetParam(params, "message");
  say.title = GetParam(params, "title");
  bool bad_volume = false;
  say.volume = FormVolume(GetParam(params, "volume"), bad_volume);
  if (bad_volume) return Refuse(400, api_texts::kBadVolume);
  const std::string zones = GetParam(params, "zones");
  if (!zones.empty()) say.zones.push_back(zones);
  return Finish(std::move(say), GetParam(params, "at"), now);
}

SayParse FromJson(const std::string& body, WallMoment now) {
  if (!IsValidUtf8(body)) return Refuse(400, api_texts::kNotUtf8);
  const json doc = json::parse(body, nullptr, false);
  if (doc.is_discarded()) return Refuse(400, api_texts::kBadJson);
  if (!doc.is_object()) return Refuse(400, api_texts::kNotObject);

  SayRequest say;
  const auto message = doc.find("message");
  if (message == doc.end() || message->is_null()) return Refuse(400, api_texts::kNoMessage);
  if (!message->is_string()) return Refuse(400, api_texts::kMessageNotText);
  say.message = message->get<std::string>();
  if (const auto title = doc.find("title"); title != doc.end() && !title->is_null()) {
    if (!title->is_string()) return Refuse(400, api_texts::kTitleNotText);
    say.title = title->get<std::string>();
  }
  if (const auto volume = doc.find("volume"); volume != doc.end() && !volume->is_null()) {
    if (!volume->is_number_integer()) return Refuse(400, api_texts::kBadVolume);
    const auto value = volume->get<long long>();
    say.volume = value < 0 || value > 1000 ? -1 : static_cast<int>(value);
  }
  std::optional<std::string> at;
  if (const auto it = doc.find("at"); it != doc.end() && !it->is_null()) {
    if (!it->is_string()) return Refuse(400, api_texts::kBadMoment);
    at = it->get<std::string>();
  }
  if (const auto zones = doc.find("zones"); zones != doc.end() && !zones->is_null()) {
    if (!zones->is_array()) return Refuse(400, api_texts::kBadZones);
    for (const json& zone : *zones) {
      if (!zone.is_string()) return Refuse(400, api_texts::kBadZones);
      say.zones.push_back(zone.get<std::string>());
    }
  }
  return Finish(std::move(say), at, now);
}

}  // namespace

std::string SayRequest::SpokenText() const {
  return title.empty() ? message : title + "。" + message;
}

std::string ContentType(const HttpRequestInfo& request) {
  const auto value = HeaderValue(request, "Content-Type");
  if (!value) return {};
  const std::string_view type = TrimBlanksAndControls(
      std::string_view(*value).substr(0, std::min(value->find(';'), value->size())));
  return AsciiLowerCopy(type);
}

SayParse ParseSayRequest(const HttpRequestInfo& request, WallMoment now) {
  if (request.Body.size() > kMaxApiBodyBytes) return Refuse(413, api_texts::kBodyTooLarge);
  if (request.Command != "POST" || request.Body.empty()) {
    return FromParams(request.ParamList, now);
  }
  const std::string type = ContentType(request);
  if (type == "application/json") return FromJson(request.Body, now);
  if (type == "application/x-www-form-urlencoded") return FromParams(request.ParamList, now);
  const std::string_view body = TrimBlanksAndControls(request.Body);
  if (type.empty() && !body.starts_with('{') && !body.starts_with('[')) {
    return FromParams(request.ParamList, now);
  }
  return Refuse(400, type.empty() ? api_texts::kJsonNeedsType : api_texts::kUnknownType);
}

}  // namespace chimewell
