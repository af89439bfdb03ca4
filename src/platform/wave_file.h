#pragma once
// Sound files: decoding any byte string safely, and encoding 16-bit PCM WAVE images.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/pcm_clip.h"

namespace chimewell {

// Decodes a sound file held in memory through libsndfile: WAVE in every sample format it
// knows (WAVE_FORMAT_EXTENSIBLE included), FLAC, Ogg Vorbis and Opus, MP3, and the other
// formats the library reads. More than two channels keep the first two; rates from 1 Hz to
// 384 kHz; at most as many samples as ten minutes of 48 kHz stereo (the rest is cut off).
// Returns nullopt for anything else, including a file that decodes to fewer samples than its
// header states (a WAVE image whose data chunk is cut short); an MP3's length is only the
// library's estimate, so a shorter MP3 is taken as it decodes. Never reads outside `image`.
std::optional<PcmClip> ParseWave(std::span<const uint8_t> image);

// Reads and decodes a sound file; nullopt when it cannot be read or decoded.
std::optional<PcmClip> LoadWaveFile(const std::string& path);

// The 44-byte header of a PCM file holding `data_bytes` of samples (an odd count is followed by
// one pad byte, which the RIFF size includes).
std::vector<uint8_t> WaveHeader(int sample_rate, int channels, uint32_t data_bytes,
                                int bits_per_sample = 16);

// A complete 16-bit PCM image of `clip`.
std::vector<uint8_t> EncodeWave(const PcmClip& clip);

}  // namespace chimewell
