#pragma once
// What a desktop shortcut asks the running clock through its local socket: say the time now,
// say a text, mute on or off. One line each way.
#include <optional>
#include <string>
#include <string_view>

namespace chimewell {

struct TellRequest {
  enum class Kind { kNow, kSay, kMute };
  Kind kind = Kind::kNow;
  std::string text;  // kSay
  bool on = false;   // kMute
};

// "now", "say TEXT" or "mute on|off"; none for anything else.
std::optional<TellRequest> ParseTellLine(std::string_view line);
// The line ParseTellLine reads back as `request`.
std::string TellLine(const TellRequest& request);

// The clock's one-line answer: "ok" or "error <reason>".
inline constexpr std::string_view kTellOk = "ok";
inline constexpr std::string_view kTellErrorPrefix = "error ";

}  // namespace chimewell
