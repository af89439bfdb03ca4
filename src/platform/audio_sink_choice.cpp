#include "platform/audio_sink.h"

namespace chimewell {

const char kAudioSinkUsage[] = "--audio takes auto, pulse, alsa, alsa:DEVICE, wav:FILE or null";

std::optional<AudioSinkSpec> ParseAudioSinkSpec(const std::string& text) {
  using Kind = AudioSinkSpec::Kind;
  if (text == "auto") return AudioSinkSpec{Kind::kAuto, ""};
  if (text == "pulse") return AudioSinkSpec{Kind::kPulse, ""};
  if (text == "alsa") return AudioSinkSpec{Kind::kAlsa, "default"};
  if (text == "null") return AudioSinkSpec{Kind::kNull, ""};
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size()) return std::nullopt;
  const std::string kind = text.substr(0, colon);
  const std::string target = text.substr(colon + 1);
  if (kind == "alsa") return AudioSinkSpec{Kind::kAlsa, target};
  if (kind == "wav") return AudioSinkSpec{Kind::kWav, target};
  return std::nullopt;
}

}  // namespace chimewell
