#include "playback/time_signal_sequence.h"

namespace chimewell {

std::vector<TimeSignalStep> BuildTimeSignalSequence(const VoiceImagePtr& image,
                                                    const std::vector<int32_t>& fragments,
                                                    int32_t repeat) {
  std::vector<TimeSignalStep> steps;
  for (int32_t r = 1; r <= repeat; ++r) {
    if (r > 1) steps.push_back({TimeSignalStep::Kind::kPause, nullptr, 0});
    for (const int32_t offset : fragments) {
      if (offset < 0 || image == nullptr) {
        steps.push_back({TimeSignalStep::Kind::kBuiltIn, nullptr, 0});
      } else {
        steps.push_back({TimeSignalStep::Kind::kFragment, image, offset});
      }
    }
  }
  return steps;
}

}  // namespace chimewell
