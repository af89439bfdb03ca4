// libFuzzer target: any bytes as the contents of a sound file, decoded into a clip or refused.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  const auto clip = ParseWave(std::span<const uint8_t>(data, size));
  if (!clip) return 0;
  // A decoded clip is whole frames of one or two channels at a rate that can be played.
  const bool sane = (clip->channels == 1 || clip->channels == 2) && clip->sample_rate > 0 &&
                    clip->samples.size() % static_cast<size_t>(clip->channels) == 0;
  if (!sane) __builtin_trap();
  return 0;
}
