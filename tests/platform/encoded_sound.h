#pragma once
// Sound files in the compressed formats, written by libsndfile for the decoding tests.
#include <sndfile.h>

#include <string>
#include <vector>

#include "platform/pcm_clip.h"

namespace chimewell::testing {

// Writes `clip` to `path` in `format`; MP3 at a constant bit rate, as sox and LAME write it by
// default. False when libsndfile cannot write the format.
inline bool WriteEncoded(const std::string& path, const PcmClip& clip, int format) {
  SF_INFO info{};
  info.samplerate = clip.sample_rate;
  info.channels = clip.channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  int mode = SF_BITRATE_MODE_CONSTANT;
  sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);  // other formats ignore it
  // As floats: Debian 12's libsndfile garbles MP3 written from 16-bit stereo.
  std::vector<float> samples;
  for (int16_t s : clip.samples) samples.push_back(s / 32768.0f);
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(clip.Frames()));
  sf_close(file);
  return true;
}

}  // namespace chimewell::testing
