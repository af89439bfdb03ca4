// libFuzzer target: any bytes as the body (or query) of an API request to say something, under
// each content type; also as a moment. Whatever is taken must be a message the clock can speak.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/iso_moment.h"
#include "core/text_encoding.h"
#include "web/api_say_request.h"
#include "web/param_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  if (size == 0) return 0;
  static constexpr const char* kTypes[] = {"application/json", "application/json; charset=utf-8",
                                           "application/x-www-form-urlencoded", "text/plain",
                                           nullptr};
  const uint8_t choice = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const WallMoment now = WallMoment::FromUnixMs(1'796'000'000'000);

  HttpRequestInfo request;
  request.Command = (choice & 0x80) ? "GET" : "POST";
  request.Host = "localhost";
  if (request.Command == "POST") {
    request.Body = bytes;
    if (const char* type = kTypes[choice % 5]) {
      request.Header.push_back(std::string("Content-Type: ") + type);
    }
  }
  request.UnparsedParams = bytes;
  request.ParamList = DecodeParams(bytes);

  const SayParse parse = ParseSayRequest(request, now);
  if (parse.request) {
    const SayRequest& say = *parse.request;
    if (say.message.empty() || !IsValidUtf8(say.SpokenText())) __builtin_trap();
    if (Utf8Prefix(say.message, kMaxMessageChars).size() != say.message.size()) __builtin_trap();
    if (say.volume && (*say.volume < 1 || *say.volume > 100)) __builtin_trap();
  } else if (parse.error.reason.empty() || parse.error.status < 400) {
    __builtin_trap();
  }
  if (const auto moment = ParseIsoMoment(bytes, now)) FormatIsoMoment(*moment);
  return 0;
}
