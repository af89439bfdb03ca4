#pragma once
// A queued time signal: voice fragments that share ownership of their voice image, the
// built-in sound in place of a missing fragment, and one-second pauses between repetitions.
#include <cstdint>
#include <vector>

#include "playback/voice_image.h"

namespace chimewell {

// The WAVE files of the selected voice set. Shared, so a sequence that is queued or playing
// keeps the image alive even when the settings are reloaded.
using VoiceImagePtr = SharedVoiceImage;

struct TimeSignalStep {
  enum class Kind { kFragment, kBuiltIn, kPause };
  Kind kind = Kind::kPause;
  VoiceImagePtr image;  // kFragment only
  int32_t offset = 0;   // where the fragment's file starts in `image`
};

// The steps for `fragments` (offsets into `image`; a negative offset means the fragment is
// missing) played `repeat` times with a pause step between repetitions. Empty for repeat <= 0.
std::vector<TimeSignalStep> BuildTimeSignalSequence(const VoiceImagePtr& image,
                                                    const std::vector<int32_t>& fragments,
                                                    int32_t repeat);

}  // namespace chimewell
