#pragma once
// The built-in sound DEFWAVE: a short bell-like chime that plays when a sound cannot be played.
#include <cstdint>
#include <span>

namespace chimewell {

inline constexpr int kBuiltInChimeRate = 11025;
inline constexpr int kBuiltInChimeSamples = 1787;

// A complete RIFF WAVE image: PCM, mono, 11,025 Hz, 8 bit, 1,787 samples. Built once, kept for
// the life of the program.
std::span<const uint8_t> BuiltInChimeImage();

}  // namespace chimewell
