#pragma once
// The near-silence a synthesized clip opens with, before its first word.
#include "platform/pcm_clip.h"

namespace chimewell {

// Below this a sample is taken as silence: -50 dBFS of 16-bit full scale.
inline constexpr int kAudibleSample = 104;

// Removes the frames before the first one with a sample at or above kAudibleSample in
// magnitude; the rest stays exactly as it was. A clip without an audible sample is left whole.
void TrimLeadIn(PcmClip& clip);

}  // namespace chimewell
