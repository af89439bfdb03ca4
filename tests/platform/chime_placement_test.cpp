// Sound files placed on the moment they mark, heard in the mixed output: the built-in pips'
// 880 Hz tone lands on the moment (their cue point, three seconds in), and a user's file
// without a cue point lands its first audible sample there, its quiet start cut off.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/audio_test_support.h"
#include "platform/lead_in.h"
#include "platform/mark_placement.h"
#include "platform/mixer.h"
#include "platform/resample.h"
#include "platform/wave_file.h"

namespace chimewell {
namespace {

constexpr int64_t kFirstBlockUs = 1000000;  // the output's first frame is heard at 1 s

// Mixes `seconds` of output, heard from kFirstBlockUs on, with `clip` placed on `mark_at`.
std::vector<int16_t> MixPlaced(PcmClip clip, WallMoment mark_at, double seconds) {
  Mixer mixer(MakeNullSink(), [] { return WallMoment(); });
  MarkedClip placed = PlaceOnMark(ConvertToMixRate(std::move(clip)), mark_at);
  mixer.PlayAt(MixChannel::kSound, std::make_shared<const PcmClip>(std::move(placed.clip)),
               placed.start_at);
  std::vector<int16_t> out;
  std::vector<int16_t> block(Mixer::kBlockFrames * 2);
  const auto blocks = static_cast<int>(seconds * 100);
  for (int i = 0; i < blocks; ++i) {
    mixer.MixBlock(block.data(), Mixer::kBlockFrames,
                   WallMoment::FromUnixUs(kFirstBlockUs + i * 10000));
    out.insert(out.end(), block.begin(), block.end());
  }
  return out;
}

// The first frame at or after `from` with an audible sample.
size_t FirstAudibleFrom(const std::vector<int16_t>& stereo, size_t from) {
  for (size_t f = from; f * 2 < stereo.size(); ++f) {
    if (std::abs(stereo[f * 2]) >= kAudibleSample) return f;
  }
  return SIZE_MAX;
}

TEST(ChimePlacement, ThePipsToneLandsOnTheMomentAndTheirCuePointSaysWhere) {
  auto pips = LoadWaveFile(CHIMEWELL_CHIMES "/pips.wav");
  ASSERT_TRUE(pips);
  ASSERT_TRUE(pips->mark_seconds);
  EXPECT_DOUBLE_EQ(*pips->mark_seconds, 3.0);
  // Marked at 5 s: the pips at 2, 3 and 4 s, the long tone from 5 s (frame 4 s in).
  const std::vector<int16_t> out = MixPlaced(*pips, WallMoment::FromUnixMs(5000), 6.5);
  const size_t first_pip = FirstAudibleFrom(out, 0);
  const size_t tone = FirstAudibleFrom(out, static_cast<size_t>(3.5 * kMixRate));
  const auto near = [](size_t frame, double seconds) {
    return std::abs(static_cast<double>(frame) - seconds * kMixRate) <= kMixRate / 1000.0;
  };
  EXPECT_TRUE(near(first_pip, 1.0)) << first_pip;
  EXPECT_TRUE(near(tone, 4.0)) << tone;
}

TEST(ChimePlacement, AFileWithoutACuePointLandsItsFirstSoundOnTheMoment) {
  // 100 ms of silence, then a click.
  PcmClip click{kMixRate, 1, std::vector<int16_t>(kMixRate / 10, 0)};
  click.samples.insert(click.samples.end(), 480, 20000);
  const auto image = EncodeWave(click);
  const auto parsed = ParseWave(image);
  ASSERT_TRUE(parsed);
  EXPECT_FALSE(parsed->mark_seconds);
  const std::vector<int16_t> out = MixPlaced(*parsed, WallMoment::FromUnixMs(1250), 0.5);
  EXPECT_EQ(FirstAudibleFrom(out, 0), static_cast<size_t>(kMixRate / 4));
}

}  // namespace
}  // namespace chimewell
