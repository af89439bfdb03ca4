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

bool IsCall(const RecordingStream& s, const std::string& own_process_id) {
  // A paused recorder hears nothing; a monitor records the desktop's output, not a voice; a
  // level meter (a volume control's peak stream) only looks at the microphone.
  return !s.corked && !s.from_monitor && s.resample_method != "peaks" &&
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
