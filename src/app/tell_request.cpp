#include "app/tell_request.h"

namespace chimewell {

std::optional<TellRequest> ParseTellLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line == "now") return TellRequest{TellRequest::Kind::kNow, {}, false};
  if (line == "mute on" || line == "mute off") {
    return TellRequest{TellRequest::Kind::kMute, {}, line == "mute on"};
  }
  constexpr std::string_view kSay = "say ";
  if (line.starts_with(kSay) && line.size() > kSay.size()) {
    return TellRequest{TellRequest::Kind::kSay, std::string(line.substr(kSay.size())), false};
  }
  return std::nullopt;
}

std::string TellLine(const TellRequest& request) {
  switch (request.kind) {
    case TellRequest::Kind::kNow:
      return "now";
    case TellRequest::Kind::kMute:
      return request.on ? "mute on" : "mute off";
    case TellRequest::Kind::kSay:
      break;
  }
  // The text is one line: its line breaks are spoken as pauses anyway.
  std::string line = "say " + request.text;
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

}  // namespace chimewell
