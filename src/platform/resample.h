#pragma once
// Converts a clip to the mixer's rate once, when it is loaded, so mixing is a plain sum.
#include "platform/pcm_clip.h"

namespace chimewell {

// The same sound at kMixRate, converted by libsoxr at high quality (no images or aliasing
// above -100 dB or so). A clip already at that rate, or an empty one, comes back unchanged.
PcmClip ConvertToMixRate(PcmClip clip);

}  // namespace chimewell
