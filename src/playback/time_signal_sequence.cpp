#include "playback/time_signal_sequence.h"

#include <algorithm>

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
        steps.push_back({TimeSignalStep::Kind::kFragment, image, static_cast<uint32_t>(offset)});
      }
    }
  }
  return steps;
}

std::span<const uint8_t> RiffImageAt(const std::vector<uint8_t>& image, uint32_t offset) {
  if (offset >= image.size()) return {};
  const size_t available = image.size() - offset;
  const uint8_t* start = image.data() + offset;
  if (available < 8) return {start, available};
  const uint64_t riff_size =
      static_cast<uint64_t>(start[4]) | (static_cast<uint64_t>(start[5]) << 8) |
      (static_cast<uint64_t>(start[6]) << 16) | (static_cast<uint64_t>(start[7]) << 24);
  const uint64_t length = std::min<uint64_t>(riff_size + 8, available);
  return {start, static_cast<size_t>(length)};
}

}  // namespace chimewell
