#include "platform/linux/call_streams.h"

#include <algorithm>
#include <cctype>

namespace chimewell {
namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// A volume control's peak stream: PulseAudio gives it the "peaks" resampler; PipeWire's pulse
// service resamples it as any other and marks it stream.monitor instead.
bool IsLevelMeter(const RecordingStream& s) {
  return s.resample_method == "peaks" || EqualsIgnoringCase(s.stream_monitor, "true") ||
         s.stream_monitor == "1";
}

bool IsCall(const RecordingStream& s, const std::string& own_process_id) {
  // A paused recorder hears nothing; a monitor records the desktop's output, not a voice; a
  // level meter only looks at the microphone.
  return !s.corked && !s.from_monitor && !IsLevelMeter(s) &&
         (s.process_id.empty() || s.process_id != own_process_id);
}

bool IsCall(const PlayingStream& s) {
  // PulseAudio's programs say "phone"; PipeWire's own say "Communication".
  return EqualsIgnoringCase(s.role, "phone") || EqualsIgnoringCase(s.role, "communication");
}

}  // namespace

bool InCall(const std::vector<RecordingStream>& recordings,
            const std::vector<PlayingStream>& playings, const std::string& own_process_id) {
  return std::ranges::any_of(recordings,
                             [&](const RecordingStream& s) { return IsCall(s, own_process_id); }) ||
         std::ranges::any_of(playings, [](const PlayingStream& s) { return IsCall(s); });
}

}  // namespace chimewell
