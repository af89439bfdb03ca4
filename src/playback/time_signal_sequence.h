#pragma once
// A queued time signal: voice fragments that share ownership of their voice image, the
// built-in sound in place of a missing fragment, and one-second pauses between repetitions.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace chimewell {

// The WAVE files of the selected voice set, back to back in memory. Shared, so a sequence
// that is queued or playing keeps the image alive even when the settings are reloaded.
using VoiceImagePtr = std::shared_ptr<const std::vector<uint8_t>>;

struct TimeSignalStep {
  enum class Kind { kFragment, kBuiltIn, kPause };
  Kind kind = Kind::kPause;
  VoiceImagePtr image;  // kFragment only
  uint32_t offset = 0;  // start of the fragment's RIFF image in `image`
};

// The steps for `fragments` (offsets into `image`; a negative offset means the fragment is
// missing) played `repeat` times with a pause step between repetitions. Empty for repeat <= 0.
std::vector<TimeSignalStep> BuildTimeSignalSequence(const VoiceImagePtr& image,
                                                    const std::vector<int32_t>& fragments,
                                                    int32_t repeat);

// The RIFF image that starts at `offset`: its length comes from the RIFF header, cut to what
// the buffer holds. Empty when the offset lies outside the buffer; a short or damaged image is
// returned as it stands and the sound player treats it as unplayable.
std::span<const uint8_t> RiffImageAt(const std::vector<uint8_t>& image, uint32_t offset);

}  // namespace chimewell
