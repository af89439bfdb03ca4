#include "platform/resample.h"

#include <soxr.h>

#include <cmath>

#include "platform/audio_sink.h"

namespace chimewell {

PcmClip ConvertToMixRate(PcmClip clip) {
  if (clip.sample_rate == kMixRate || clip.sample_rate <= 0 || clip.channels < 1 ||
      clip.Frames() == 0) {
    return clip;
  }
  const size_t in_frames = clip.Frames();
  const auto out_frames = static_cast<size_t>(
      std::ceil(static_cast<double>(in_frames) * kMixRate / clip.sample_rate));
  PcmClip out;
  out.sample_rate = kMixRate;
  out.channels = clip.channels;
  out.mark_seconds = clip.mark_seconds;
  out.samples.resize(out_frames * static_cast<size_t>(clip.channels));
  soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
  io.flags |= SOXR_NO_DITHER;  // the same clip always gives the same samples
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  size_t done = 0;
  const soxr_error_t error = soxr_oneshot(
      clip.sample_rate, kMixRate, static_cast<unsigned>(clip.channels), clip.samples.data(),
      in_frames, nullptr, out.samples.data(), out_frames, &done, &io, &quality, nullptr);
  if (error) return PcmClip{kMixRate, clip.channels, {}};
  out.samples.resize(done * static_cast<size_t>(clip.channels));
  return out;
}

}  // namespace chimewell
