// FluidSynth music on the mixer's music channel, driven block by block.
#include <gtest/gtest.h>

#include "platform/audio_test_support.h"
#include "platform/linux/fluidsynth_midi.h"

namespace chimewell {
namespace {

using testing::Listen;

class MidiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (midi_.KBGMOpen(10, -1) != 0) GTEST_SKIP() << "no SoundFont installed";
    file_ = testing::TempPath("song.mid");
    // Two notes of 480 ticks at 120 bpm: the piece lasts one second.
    testing::WriteBytes(file_, testing::MakeMidi({60, 64}, 480));
  }
  void TearDown() override {
    midi_.KBGMClose();
    std::remove(file_.c_str());
  }
  // Mixes `seconds` of sound by hand (no sink, no real time) and keeps it.
  PcmClip Render(double seconds) {
    PcmClip out{kMixRate, 2, {}};
    std::vector<int16_t> block(Mixer::kBlockFrames * 2);
    for (int i = 0; i < static_cast<int>(seconds * 100); ++i) {
      mixer_.MixBlock(block.data(), Mixer::kBlockFrames);
      out.samples.insert(out.samples.end(), block.begin(), block.end());
    }
    return out;
  }
  bool Playing(int32_t handle) {
    KbgmInfo info;
    midi_.KBGMGetInfo(handle, &info);
    return info.playing != 0;
  }

  Mixer mixer_{MakeNullSink()};
  FluidSynthMidi midi_{mixer_};
  std::string file_;
};

TEST_F(MidiTest, PlaysAPieceAndReportsItsEndWithinATenthOfASecond) {
  int32_t handle = 0;
  ASSERT_EQ(midi_.KBGMLoadFile(&handle, file_), 0);
  EXPECT_NE(handle, 0);
  EXPECT_FALSE(Playing(handle));
  ASSERT_EQ(midi_.KBGMPlay(handle, 0), 0);
  midi_.KBGMSetVolume(handle, 100);
  EXPECT_TRUE(Playing(handle));
  const auto first = Listen(Render(0.95));
  EXPECT_TRUE(Playing(handle));  // the second note still sounds
  EXPECT_GT(first.peak, 3000);
  EXPECT_LT(first.first, static_cast<size_t>(kMixRate / 20));  // starts at once
  Render(0.1);
  EXPECT_FALSE(Playing(handle));  // one second of music, 0.1 s later
  EXPECT_FALSE(Playing(0));
}

TEST_F(MidiTest, StopSilencesAndVolumeScales) {
  int32_t handle = 0;
  ASSERT_EQ(midi_.KBGMLoadFile(&handle, file_), 0);
  ASSERT_EQ(midi_.KBGMPlay(handle, 0), 0);
  midi_.KBGMSetVolume(handle, 100);
  const int full = Listen(Render(0.3)).peak;
  midi_.KBGMSetVolume(handle, 25);
  const int quarter = Listen(Render(0.3)).peak;
  EXPECT_NEAR(static_cast<double>(quarter) / full, 0.25, 0.1);
  midi_.KBGMStop();
  EXPECT_FALSE(Playing(handle));
  Render(0.1);  // the reverberation dies away
  EXPECT_EQ(Listen(Render(0.2), 0.003).loud_frames, 0u);
  // The song stays loaded and plays again from the start.
  ASSERT_EQ(midi_.KBGMPlay(handle, 0), 0);
  EXPECT_GT(Listen(Render(0.3)).peak, 500);
}

TEST_F(MidiTest, RejectsMissingAndNonMidiFilesAndStaleHandles) {
  int32_t handle = 0;
  EXPECT_NE(midi_.KBGMLoadFile(&handle, "/nonexistent/song.mid"), 0);
  auto cut = testing::MakeMidi({60, 64}, 480);
  cut.resize(cut.size() - 6);  // the track ends in mid-event: refused as it is read
  for (const auto& bytes : {EncodeWave(testing::MakeTone(8000, 1, 0.1)), cut}) {
    const std::string bad = testing::TempPath("bad.mid");
    testing::WriteBytes(bad, bytes);
    EXPECT_NE(midi_.KBGMLoadFile(&handle, bad), 0);
    std::remove(bad.c_str());
  }
  EXPECT_EQ(handle, 0);
  EXPECT_NE(midi_.KBGMPlay(0, 0), 0);

  ASSERT_EQ(midi_.KBGMLoadFile(&handle, file_), 0);
  int32_t second = 0;
  ASSERT_EQ(midi_.KBGMLoadFile(&second, file_), 0);  // replaces the first song
  EXPECT_NE(midi_.KBGMPlay(handle, 0), 0);
  EXPECT_EQ(midi_.KBGMFree(0), 0);
  EXPECT_EQ(midi_.KBGMFree(second), 0);
  EXPECT_NE(midi_.KBGMPlay(second, 0), 0);
}

TEST_F(MidiTest, TheMusicLeavesTheMixerOnceItHasDiedAway) {
  int32_t handle = 0;
  ASSERT_EQ(midi_.KBGMLoadFile(&handle, file_), 0);
  ASSERT_EQ(midi_.KBGMPlay(handle, 0), 0);
  EXPECT_TRUE(mixer_.HasRenderer(MixChannel::kMusic));
  Render(1.0);
  EXPECT_TRUE(mixer_.HasRenderer(MixChannel::kMusic));  // the last note still rings
  Render(3.1);
  EXPECT_FALSE(mixer_.HasRenderer(MixChannel::kMusic));
  // Played again, and stopped: it leaves once the stopped notes and their reverb have faded.
  ASSERT_EQ(midi_.KBGMPlay(handle, 0), 0);
  Render(0.2);
  midi_.KBGMStop();
  Render(3.1);
  EXPECT_FALSE(mixer_.HasRenderer(MixChannel::kMusic));
}

// Two workers overlap: the one that ends late must not take the synthesizer from the new one.
TEST_F(MidiTest, TheLastOwnerFreesTheSynthesizer) {
  ASSERT_EQ(midi_.KBGMOpen(10, -1), 0);  // a second owner (the fixture holds the first)
  EXPECT_EQ(midi_.Owners(), 2);
  midi_.KBGMClose();  // the old worker ends
  int32_t handle = 0;
  ASSERT_EQ(midi_.KBGMLoadFile(&handle, file_), 0);
  ASSERT_EQ(midi_.KBGMPlay(handle, 0), 0);
  EXPECT_GT(Listen(Render(0.3)).peak, 500);
  midi_.KBGMClose();
  EXPECT_EQ(midi_.Owners(), 0);
  EXPECT_NE(midi_.KBGMLoadFile(&handle, file_), 0);  // freed
  midi_.KBGMClose();  // one close too many changes nothing
  EXPECT_EQ(midi_.Owners(), 0);
  ASSERT_EQ(midi_.KBGMOpen(10, -1), 0);  // for TearDown's close
}

// After Clear All the old worker cleans up (frees its song, closes) while a new one plays.
TEST_F(MidiTest, AnOldWorkersCleanUpLeavesTheNewSongPlaying) {
  int32_t old_song = 0;
  ASSERT_EQ(midi_.KBGMLoadFile(&old_song, file_), 0);
  ASSERT_EQ(midi_.KBGMPlay(old_song, 0), 0);
  ASSERT_EQ(midi_.KBGMOpen(10, -1), 0);
  int32_t new_song = 0;
  ASSERT_EQ(midi_.KBGMLoadFile(&new_song, file_), 0);
  ASSERT_EQ(midi_.KBGMPlay(new_song, 0), 0);
  midi_.KBGMFree(old_song);
  midi_.KBGMClose();
  EXPECT_TRUE(Playing(new_song));
  EXPECT_GT(Listen(Render(0.3)).peak, 500);
}

TEST(MidiOpenTest, FailsWithoutALoadableSoundFont) {
  Mixer mixer(MakeNullSink());
  FluidSynthMidi midi(mixer, "/nonexistent/font.sf2");
  EXPECT_NE(midi.KBGMOpen(10, -1), 0);
  int32_t handle = 0;
  EXPECT_NE(midi.KBGMLoadFile(&handle, "/nonexistent/song.mid"), 0);
  EXPECT_EQ(midi.KBGMClose(), 0);
}

TEST(MidiDataTest, FindsStandardMidiPlainOrInRiff) {
  const auto smf = testing::MakeMidi({60}, 10);
  EXPECT_EQ(ExtractMidiData(smf), smf);
  std::vector<uint8_t> rmid = {'R', 'I', 'F', 'F', 0,   0,   0,   0,
                               'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
  const auto size = static_cast<uint32_t>(smf.size());
  for (int shift : {0, 8, 16, 24}) rmid.push_back(static_cast<uint8_t>(size >> shift));
  rmid.insert(rmid.end(), smf.begin(), smf.end());
  EXPECT_EQ(ExtractMidiData(rmid), smf);
  rmid.resize(rmid.size() - 1);
  EXPECT_TRUE(ExtractMidiData(rmid).empty());
  EXPECT_TRUE(ExtractMidiData({'M', 'T', 'h', 'd'}).empty());
}

}  // namespace
}  // namespace chimewell
