#pragma once
// Test helpers for sound: generated tones and MIDI files, and listening to a captured WAV.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/pcm_clip.h"
#include "platform/wave_file.h"

namespace chimewell::testing {

inline PcmClip MakeTone(int rate, int channels, double seconds, double freq = 440.0,
                        double amplitude = 0.5) {
  PcmClip clip;
  clip.sample_rate = rate;
  clip.channels = channels;
  const auto frames = static_cast<size_t>(seconds * rate);
  for (size_t i = 0; i < frames; ++i) {
    const double v =
        amplitude * std::sin(2 * std::numbers::pi * freq * static_cast<double>(i) / rate);
    for (int c = 0; c < channels; ++c) clip.samples.push_back(static_cast<int16_t>(v * 32767));
  }
  return clip;
}

// The frames of a stereo capture whose loudest channel passes `threshold` (of full scale).
struct Heard {
  size_t first = 0, last = 0;  // first and last loud frame
  size_t loud_frames = 0;
  int peak = 0;
  double Seconds(int rate) const {
    return loud_frames ? static_cast<double>(last - first + 1) / rate : 0.0;
  }
};

inline Heard Listen(const PcmClip& clip, double threshold = 0.01) {
  Heard h;
  const int limit = static_cast<int>(threshold * 32767);
  for (size_t f = 0; f < clip.Frames(); ++f) {
    int level = 0;
    for (int c = 0; c < clip.channels; ++c) {
      level = std::max(level, std::abs(static_cast<int>(clip.samples[f * clip.channels + c])));
    }
    h.peak = std::max(h.peak, level);
    if (level > limit) {
      if (h.loud_frames == 0) h.first = f;
      h.last = f;
      ++h.loud_frames;
    }
  }
  return h;
}

// Polls `done` every 10 ms until it holds (true) or `limit` has passed (false).
inline bool WaitUntil(std::chrono::milliseconds limit, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

inline std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/chimewell-test-" + std::to_string(::getpid()) +
         "-" + name;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A format-0 MIDI file at 120 bpm, 480 ticks a beat (1 tick ~ 1.04 ms): the General MIDI
// `program` (0 = piano), then each note of `notes` held for `ticks` ticks, one after another.
inline std::vector<uint8_t> MakeMidi(const std::vector<int>& notes, uint32_t ticks,
                                     uint8_t program = 0) {
  std::vector<uint8_t> track;
  const auto delta = [&](uint32_t v) {
    uint8_t buf[4];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7) buf[n++] = static_cast<uint8_t>((v & 0x7F) | 0x80);
    while (n) track.push_back(buf[--n]);
  };
  delta(0);
  track.insert(track.end(), {0xC0, program});
  for (int note : notes) {
    delta(0);
    track.insert(track.end(), {0x90, static_cast<uint8_t>(note), 100});
    delta(ticks);
    track.insert(track.end(), {0x80, static_cast<uint8_t>(note), 0});
  }
  delta(0);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                               0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
  const auto size = static_cast<uint32_t>(track.size());
  for (int shift : {24, 16, 8, 0}) file.push_back(static_cast<uint8_t>(size >> shift));
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

}  // namespace chimewell::testing
