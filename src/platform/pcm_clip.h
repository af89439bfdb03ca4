#pragma once
// A decoded sound: 16-bit samples, interleaved, mono or stereo, at its own sample rate.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace chimewell {

struct PcmClip {
  int sample_rate = 0;
  int channels = 0;  // 1 or 2
  std::vector<int16_t> samples;
  // The moment the sound marks (a chime's hour stroke), in seconds from its start, when the
  // file names one with a cue point.
  std::optional<double> mark_seconds = std::nullopt;

  size_t Frames() const {
    return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0;
  }
  double Seconds() const {
    return sample_rate > 0 ? static_cast<double>(Frames()) / sample_rate : 0.0;
  }
};

}  // namespace chimewell
