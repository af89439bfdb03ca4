#include "platform/wave_file.h"

#include "core/bounded_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace chimewell {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int kMaxSampleRate = 384000;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

struct Format {
  uint16_t tag = 0;
  int channels = 0;
  int sample_rate = 0;
  int bits = 0;
};

int16_t FromFloat(double v) {
  if (!(v == v)) return 0;  // NaN
  v = std::clamp(v, -1.0, 1.0);
  return static_cast<int16_t>(std::lround(v * 32767.0));
}

// One sample at `p` (which holds bits/8 bytes) as 16-bit.
int16_t DecodeSample(const Format& f, const uint8_t* p) {
  if (f.tag == kFormatFloat) {
    if (f.bits == 32) {
      float v;
      std::memcpy(&v, p, sizeof v);  // the image is little-endian, as is every target of ours
      return FromFloat(v);
    }
    double v;
    std::memcpy(&v, p, sizeof v);
    return FromFloat(v);
  }
  switch (f.bits) {
    case 8:
      return static_cast<int16_t>((p[0] - 128) << 8);
    case 16:
      return static_cast<int16_t>(U16(p));
    case 24:
      return static_cast<int16_t>(U16(p + 1));
    default:
      return static_cast<int16_t>(U16(p + 2));
  }
}

std::optional<Format> ReadFormat(const uint8_t* p, uint32_t size) {
  if (size < 16) return std::nullopt;
  Format f;
  f.tag = U16(p);
  f.channels = U16(p + 2);
  const uint32_t rate = U32(p + 4);
  f.bits = U16(p + 14);
  if (f.tag == kFormatExtensible) {
    // The real format is the first two bytes of the sub-format GUID.
    if (size < 26) return std::nullopt;
    f.tag = U16(p + 24);
  }
  if (f.channels < 1 || rate < 1 || rate > kMaxSampleRate) return std::nullopt;
  f.sample_rate = static_cast<int>(rate);
  const bool pcm_ok =
      f.tag == kFormatPcm && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
  const bool float_ok = f.tag == kFormatFloat && (f.bits == 32 || f.bits == 64);
  if (!pcm_ok && !float_ok) return std::nullopt;
  return f;
}

}  // namespace

std::optional<PcmClip> ParseWave(std::span<const uint8_t> image) {
  const size_t n = image.size();
  const uint8_t* base = image.data();
  if (n < 12 || std::memcmp(base, "RIFF", 4) != 0 || std::memcmp(base + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  std::optional<Format> format;
  size_t pos = 12;
  while (n - pos >= 8) {
    const uint8_t* chunk = base + pos;
    const uint32_t size = U32(chunk + 4);
    const size_t body = pos + 8;
    const size_t available = n - body;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size > available) return std::nullopt;
      format = ReadFormat(base + body, size);
      if (!format) return std::nullopt;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!format || size > available) return std::nullopt;
      const size_t sample_bytes = static_cast<size_t>(format->bits / 8);
      const size_t frame_bytes = sample_bytes * static_cast<size_t>(format->channels);
      const size_t frames = size / frame_bytes;
      const int out_channels = std::min(format->channels, 2);
      PcmClip clip;
      clip.sample_rate = format->sample_rate;
      clip.channels = out_channels;
      clip.samples.reserve(frames * static_cast<size_t>(out_channels));
      const uint8_t* p = base + body;
      for (size_t i = 0; i < frames; ++i, p += frame_bytes) {
        for (int c = 0; c < out_channels; ++c) {
          clip.samples.push_back(DecodeSample(*format, p + static_cast<size_t>(c) * sample_bytes));
        }
      }
      return clip;
    }
    // Chunks are padded to an even length.
    const size_t advance = 8 + static_cast<size_t>(size) + (size & 1u);
    if (advance > n - pos) break;
    pos += advance;
  }
  return std::nullopt;
}

std::optional<PcmClip> LoadWaveFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadRegularFile(path, FileKind::kSound);
  if (!bytes) return std::nullopt;
  return ParseWave(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()));
}

std::vector<uint8_t> WaveHeader(int sample_rate, int channels, uint32_t data_bytes,
                                int bits_per_sample) {
  std::vector<uint8_t> out;
  out.reserve(44);
  const uint32_t block = static_cast<uint32_t>(channels * bits_per_sample / 8);
  const uint32_t padded = data_bytes + (data_bytes & 1);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  Put32(out, data_bytes > 0xFFFFFFFFu - 37 ? 0xFFFFFFFFu : 36 + padded);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put16(out, kFormatPcm);
  Put16(out, static_cast<uint32_t>(channels));
  Put32(out, static_cast<uint32_t>(sample_rate));
  Put32(out, static_cast<uint32_t>(sample_rate) * block);
  Put16(out, block);
  Put16(out, static_cast<uint32_t>(bits_per_sample));
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, data_bytes);
  return out;
}

std::vector<uint8_t> EncodeWave(const PcmClip& clip) {
  std::vector<uint8_t> out =
      WaveHeader(clip.sample_rate, clip.channels, static_cast<uint32_t>(clip.samples.size() * 2));
  out.reserve(out.size() + clip.samples.size() * 2);
  for (int16_t s : clip.samples) Put16(out, static_cast<uint16_t>(s));
  return out;
}

}  // namespace chimewell
