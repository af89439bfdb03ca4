#pragma once
// RIFF WAVE images: decoding any byte string safely, and encoding 16-bit PCM.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/pcm_clip.h"

namespace chimewell {

// Decodes PCM (8, 16, 24, 32 bit) or IEEE float (32, 64 bit) WAVE data with any number of
// channels (more than two keep the first two) at any rate up to 384 kHz. Returns nullopt for
// anything else, including a truncated data chunk; never reads outside `image`.
std::optional<PcmClip> ParseWave(std::span<const uint8_t> image);

// Reads and decodes a WAVE file; nullopt when it cannot be read or decoded.
std::optional<PcmClip> LoadWaveFile(const std::string& path);

// The 44-byte header of a PCM file holding `data_bytes` of samples (an odd count is followed by
// one pad byte, which the RIFF size includes).
std::vector<uint8_t> WaveHeader(int sample_rate, int channels, uint32_t data_bytes,
                                int bits_per_sample = 16);

// A complete 16-bit PCM image of `clip`.
std::vector<uint8_t> EncodeWave(const PcmClip& clip);

}  // namespace chimewell
