#include "platform/lead_in.h"

#include <cstdlib>

namespace chimewell {

void TrimLeadIn(PcmClip& clip) {
  if (clip.channels < 1) return;
  const auto channels = static_cast<size_t>(clip.channels);
  for (size_t i = 0; i < clip.samples.size(); ++i) {
    if (std::abs(static_cast<int>(clip.samples[i])) >= kAudibleSample) {
      const size_t first_frame = i / channels;
      clip.samples.erase(clip.samples.begin(),
                         clip.samples.begin() + static_cast<std::ptrdiff_t>(first_frame * channels));
      return;
    }
  }
}

}  // namespace chimewell
