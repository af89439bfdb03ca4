// Clips placed on a wall-clock moment, and the lead-in of synthesized speech.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/audio_test_support.h"
#include "platform/lead_in.h"
#include "platform/mixer.h"

namespace chimewell {
namespace {

// One block is 10 ms: 480 frames. Blocks are mixed as heard from 1,000,000 µs on, 10 ms apart.
constexpr int64_t kFirstBlockUs = 1000000;

struct Placed {
  size_t first_loud = 0;  // frame of the output where the clip's first sample landed
  bool started_early = false;
};

// Places a one-block square clip at `start_at_ms` and mixes ten blocks.
Placed PlaceAt(int64_t start_at_ms) {
  Mixer mixer(MakeNullSink(), [] { return WallMoment(); });
  auto clip = std::make_shared<const PcmClip>(
      PcmClip{kMixRate, 1, std::vector<int16_t>(Mixer::kBlockFrames, 20000)});
  const auto voice = mixer.PlayAt(MixChannel::kSpeech, clip, WallMoment::FromUnixMs(start_at_ms));
  PcmClip out{kMixRate, 2, {}};
  std::vector<int16_t> block(Mixer::kBlockFrames * 2);
  Placed placed;
  for (int i = 0; i < 10; ++i) {
    const int64_t heard_at = kFirstBlockUs + i * 10000;
    mixer.MixBlock(block.data(), Mixer::kBlockFrames, WallMoment::FromUnixUs(heard_at));
    if (voice->Started() && heard_at + 10000 <= start_at_ms * 1000) placed.started_early = true;
    out.samples.insert(out.samples.end(), block.begin(), block.end());
  }
  placed.first_loud = testing::Listen(out).first;
  return placed;
}

TEST(PlacementTest, FirstSampleLandsOnTheSampleOfTheMoment) {
  const struct {
    int64_t start_at_ms;
    size_t frame;
  } cases[] = {
      {1000, 0},        // the first block's first frame
      {1001, 48},       // a millisecond in
      {1025, 1200},     // inside the third block
      {1090, 4320},     // the last block
      {990, 0},         // already past: at once, a late start is just later
      {-5, 0},          // long past
  };
  for (const auto& c : cases) {
    const Placed placed = PlaceAt(c.start_at_ms);
    EXPECT_EQ(placed.first_loud, c.frame) << c.start_at_ms;
    EXPECT_FALSE(placed.started_early) << c.start_at_ms;
  }
}

TEST(PlacementTest, AVoiceWaitingForItsMomentCanBeStopped) {
  Mixer mixer(MakeNullSink(), [] { return WallMoment(); });
  const auto voice =
      mixer.PlayAt(MixChannel::kSound,
                   std::make_shared<const PcmClip>(testing::MakeTone(kMixRate, 1, 0.1)),
                   WallMoment::FromUnixMs(5000));
  std::vector<int16_t> block(Mixer::kBlockFrames * 2);
  mixer.MixBlock(block.data(), Mixer::kBlockFrames, WallMoment::FromUnixUs(kFirstBlockUs));
  EXPECT_FALSE(voice->Started());
  mixer.StopChannel(MixChannel::kSound);
  EXPECT_TRUE(voice->Finished());
  mixer.MixBlock(block.data(), Mixer::kBlockFrames, WallMoment::FromUnixUs(5000000));
  EXPECT_FALSE(voice->Started());
}

// The wall clock moves under a voice waiting for its moment: set back, it waits no longer than
// it was ahead plus a second; a sleep past its latest start drops it unheard.
TEST(PlacementTest, AWallClockThatJumpsNeitherHoldsAPlacedVoiceNorPlaysItLate) {
  const struct {
    int64_t jump_ms;
    bool latest;
    bool started;
  } cases[] = {
      {-3600000, false, true},  // set back an hour: starts once its lead and a second are up
      {7200000, true, false},   // slept two hours: too late, dropped
      {30000, true, true},      // slept half a minute, within its latest start: plays late
  };
  for (const auto& c : cases) {
    std::atomic<int64_t> wall_us{kFirstBlockUs};
    Mixer mixer(MakeNullSink(), [&] { return WallMoment::FromUnixUs(wall_us.load()); });
    const int64_t start_ms = kFirstBlockUs / 1000 + 200;
    const auto voice = mixer.PlayAt(
        MixChannel::kSpeech, std::make_shared<const PcmClip>(testing::MakeTone(kMixRate, 1, 0.1)),
        WallMoment::FromUnixMs(start_ms), 1.0f, 1.0f,
        c.latest ? std::optional(WallMoment::FromUnixMs(start_ms + 60000)) : std::nullopt);
    wall_us += c.jump_ms * 1000;
    std::vector<int16_t> block(Mixer::kBlockFrames * 2);
    mixer.MixBlock(block.data(), Mixer::kBlockFrames, WallMoment::FromUnixUs(wall_us.load()));
    if (c.jump_ms < 0) {
      EXPECT_FALSE(voice->Started());
      std::this_thread::sleep_for(std::chrono::milliseconds(1300));
      mixer.MixBlock(block.data(), Mixer::kBlockFrames, WallMoment::FromUnixUs(wall_us.load()));
    }
    EXPECT_EQ(voice->Started(), c.started) << c.jump_ms;
    EXPECT_EQ(voice->Finished(), !c.started) << c.jump_ms;
    EXPECT_EQ(voice->Dropped(), !c.started) << c.jump_ms;
  }
}

TEST(LeadInTest, TrimsOnlyTheNearSilenceBeforeTheFirstAudibleSample) {
  const struct {
    std::vector<int16_t> samples;
    int channels;
    std::vector<int16_t> kept;
  } cases[] = {
      {{0, 5, -103, 103, 104, 0, 3}, 1, {104, 0, 3}},      // -50 dBFS is the edge
      {{0, 0, -200, 7}, 1, {-200, 7}},                      // negative peaks count
      {{1, 2, 3, 500, 0, 1}, 2, {3, 500, 0, 1}},            // whole frames: the left sample too
      {{300, 1}, 1, {300, 1}},                              // nothing to trim
      {{1, 2, 3}, 1, {1, 2, 3}},                            // no word at all: left whole
      {{}, 1, {}},
  };
  for (const auto& c : cases) {
    PcmClip clip{48000, c.channels, c.samples};
    TrimLeadIn(clip);
    EXPECT_EQ(clip.samples, c.kept);
    EXPECT_EQ(clip.sample_rate, 48000);
  }
}

}  // namespace
}  // namespace chimewell
