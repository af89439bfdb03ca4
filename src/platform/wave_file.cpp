#include "platform/wave_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "core/bounded_file.h"

namespace chimewell {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr int kMaxSampleRate = 384000;
// Ten minutes of 48 kHz stereo (115 MB of samples): enough for any chime or jingle, and a
// bound on what a small compressed file can make us hold.
constexpr sf_count_t kMaxSamples = 2 * 48000 * 600;
constexpr sf_count_t kReadFrames = 4096;

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

// libsndfile plays whatever part of a cut-short WAVE file is there. A voice file or a sound
// that ends too soon is a broken file to us, so a RIFF image must hold its whole data chunk.
bool RiffDataComplete(std::span<const uint8_t> image) {
  const size_t n = image.size();
  const uint8_t* base = image.data();
  if (n < 12 || std::memcmp(base, "RIFF", 4) != 0) return true;  // not RIFF: not our concern
  size_t pos = 12;
  while (n - pos >= 8) {
    const uint32_t size = U32(base + pos + 4);
    if (std::memcmp(base + pos, "data", 4) == 0) return size <= n - pos - 8;
    const size_t advance = 8 + static_cast<size_t>(size) + (size & 1u);
    if (advance > n - pos) return false;
    pos += advance;
  }
  return false;
}

// The bytes as a read-only file for libsndfile.
struct MemoryFile {
  std::span<const uint8_t> bytes;
  sf_count_t pos = 0;

  static MemoryFile& Of(void* user) { return *static_cast<MemoryFile*>(user); }
  static sf_count_t Length(void* user) { return static_cast<sf_count_t>(Of(user).bytes.size()); }
  static sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    MemoryFile& f = Of(user);
    const auto size = static_cast<sf_count_t>(f.bytes.size());
    sf_count_t to = offset;
    if (whence == SEEK_CUR) to += f.pos;
    if (whence == SEEK_END) to += size;
    if (to < 0 || to > size) return -1;
    f.pos = to;
    return f.pos;
  }
  static sf_count_t Read(void* out, sf_count_t count, void* user) {
    MemoryFile& f = Of(user);
    const auto size = static_cast<sf_count_t>(f.bytes.size());
    const sf_count_t n = std::clamp<sf_count_t>(size - f.pos, 0, std::max<sf_count_t>(count, 0));
    if (n > 0) std::memcpy(out, f.bytes.data() + f.pos, static_cast<size_t>(n));
    f.pos += n;
    return n;
  }
  static sf_count_t Write(const void*, sf_count_t, void*) { return 0; }
  static sf_count_t Tell(void* user) { return Of(user).pos; }
};

// MPEG audio carries no length of its own: libsndfile guesses it from the bit rate and the
// file size, and tags, padding or a variable bit rate make the guess too long. Every other
// format we read states its length.
bool LengthIsExact(const SF_INFO& info) {
  return (info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_MPEG;
}

int16_t ToSample(float v) {
  if (!(v == v)) return 0;  // NaN
  // floor keeps the top 16 bits of deeper integer samples exactly.
  const float scaled = std::floor(v * 32768.0f);
  return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

// The first cue point, as seconds from the start, when it lies within the `frames` decoded.
std::optional<double> CueMark(SNDFILE* sf, const SF_INFO& info, sf_count_t frames) {
  uint32_t count = 0;
  if (sf_command(sf, SFC_GET_CUE_COUNT, &count, sizeof count) != SF_TRUE || count == 0) {
    return std::nullopt;
  }
  // Room for the first hundred points; the library fills no more than the room given.
  SF_CUES cues{};
  if (sf_command(sf, SFC_GET_CUE, &cues, sizeof cues) != SF_TRUE || cues.cue_count == 0) {
    return std::nullopt;
  }
  const uint32_t offset = cues.cue_points[0].sample_offset;
  if (static_cast<sf_count_t>(offset) > frames) return std::nullopt;
  return static_cast<double>(offset) / info.samplerate;
}

}  // namespace

std::optional<PcmClip> ParseWave(std::span<const uint8_t> image) {
  if (image.empty() || !RiffDataComplete(image)) return std::nullopt;
  MemoryFile file{image};
  SF_VIRTUAL_IO io{&MemoryFile::Length, &MemoryFile::Seek, &MemoryFile::Read, &MemoryFile::Write,
                   &MemoryFile::Tell};
  SF_INFO info{};
  SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
  if (!sf) return std::nullopt;
  std::optional<PcmClip> result;
  if (info.channels >= 1 && info.samplerate >= 1 && info.samplerate <= kMaxSampleRate) {
    const auto channels = static_cast<size_t>(info.channels);
    const int out_channels = std::min(info.channels, 2);
    const sf_count_t limit = kMaxSamples / out_channels;
    PcmClip clip;
    clip.sample_rate = info.samplerate;
    clip.channels = out_channels;
    // The header's length is believed only as far as the bytes could hold it.
    const sf_count_t expected =
        std::min({info.frames, limit, static_cast<sf_count_t>(image.size())});
    if (expected > 0) {
      clip.samples.reserve(static_cast<size_t>(expected) * static_cast<size_t>(out_channels));
    }
    std::vector<float> block(static_cast<size_t>(kReadFrames) * channels);
    sf_count_t total = 0;
    bool failed = false;
    while (total < limit) {
      const sf_count_t got = sf_readf_float(sf, block.data(), std::min(kReadFrames, limit - total));
      if (got <= 0) {
        failed = sf_error(sf) != SF_ERR_NO_ERROR;
        break;
      }
      for (sf_count_t f = 0; f < got; ++f) {
        const float* frame = block.data() + static_cast<size_t>(f) * channels;
        for (int c = 0; c < out_channels; ++c) clip.samples.push_back(ToSample(frame[c]));
      }
      total += got;
    }
    // A stream that stops short of the length its header gives is cut short, except where the
    // length is only the library's guess.
    const bool short_read = LengthIsExact(info) && info.frames > 0 &&
                            info.frames < SF_COUNT_MAX / 2 && total < std::min(info.frames, limit);
    if (!failed && !short_read) {
      clip.mark_seconds = CueMark(sf, info, total);
      result = std::move(clip);
    }
  }
  sf_close(sf);
  return result;
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
