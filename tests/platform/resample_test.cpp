// Conversion to the mixer's rate: same length, same tone, no images of the source rate.
#include "platform/resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/audio_sink.h"
#include "platform/audio_test_support.h"

namespace chimewell {
namespace {

// Level of `freq` in the first channel of `clip` (Hann-windowed Goertzel over `n` frames from
// `start`), in dB of an arbitrary reference shared by all calls with the same `n`.
double LevelDb(const PcmClip& clip, double freq, size_t start, size_t n) {
  const double w = 2 * std::numbers::pi * freq / clip.sample_rate;
  double s1 = 0, s2 = 0;
  for (size_t i = 0; i < n; ++i) {
    const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / n);
    const double x = clip.samples[(start + i) * static_cast<size_t>(clip.channels)] * hann;
    const double s0 = x + 2 * std::cos(w) * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2;
  return 10 * std::log10(power + 1e-9);
}

TEST(ResampleTest, AVoiceAt11025HzShowsNoImageAboveItsBand) {
  // A 3 kHz tone: linear interpolation would leave images at 8,025 and 14,025 Hz.
  const auto voice = testing::MakeTone(11025, 1, 1.0, 3000.0, 0.5);
  const PcmClip out = ConvertToMixRate(voice);
  ASSERT_EQ(out.sample_rate, kMixRate);
  EXPECT_NEAR(static_cast<double>(out.Frames()), kMixRate, 2);
  constexpr size_t kN = 16384;
  const size_t start = (out.Frames() - kN) / 2;
  const double tone = LevelDb(out, 3000.0, start, kN);
  double worst = -1000;
  for (double f = 5600; f < kMixRate / 2; f += 25) {
    worst = std::max(worst, LevelDb(out, f, start, kN));
  }
  EXPECT_LT(worst - tone, -60.0);
}

TEST(ResampleTest, KeepsStereoAndLeavesMixRateClipsAlone) {
  const auto stereo = testing::MakeTone(22050, 2, 0.5);
  const PcmClip out = ConvertToMixRate(stereo);
  EXPECT_EQ(out.channels, 2);
  EXPECT_NEAR(out.Seconds(), 0.5, 0.001);
  const auto same = testing::MakeTone(kMixRate, 1, 0.1);
  EXPECT_EQ(ConvertToMixRate(same).samples, same.samples);
  EXPECT_TRUE(ConvertToMixRate(PcmClip{8000, 1, {}}).samples.empty());
}

}  // namespace
}  // namespace chimewell
