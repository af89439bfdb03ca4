// The MIDI worker in virtual time: repeats, end times, precedence, failures, the queue limit,
// and its volume under mute and under the message worker's speech.
#include <gmock/gmock.h>

#include "playback_fixture.h"

namespace chimewell::testing {
namespace {

using ::testing::ElementsAre;

class MidiThreadTest : public PlaybackTest {
 protected:
  std::vector<int64_t> Times(const std::string& what) const {
    std::vector<int64_t> times;
    for (const auto& event : midi.Events(what)) times.push_back(Since(event.at_ms));
    return times;
  }
  // (time, volume) of every volume change.
  std::vector<std::pair<int64_t, int32_t>> TimedVolumes() const {
    std::vector<std::pair<int64_t, int32_t>> volumes;
    for (const auto& event : midi.Events("volume"))
      volumes.emplace_back(Since(event.at_ms), event.value);
    return volumes;
  }
  std::vector<int32_t> Volumes() const {
    std::vector<int32_t> volumes;
    for (const auto& event : midi.Events("volume")) volumes.push_back(event.value);
    return volumes;
  }
};

TEST_F(MidiThreadTest, RepeatCountPlaysThePieceThatManyTimesThenTheWorkerIdles) {
  midi.SetSong("song.mid", 2500);
  playback.SetMidiRepeat("song.mid", 70, 3);
  Run(20500);
  EXPECT_THAT(Times("play:"), ElementsAre(0, 3000, 6000));
  EXPECT_THAT(LogTexts(), ElementsAre("Set[Midi]Thread song.mid repeat:3"));
  EXPECT_TRUE(playback.HasMidiThread());  // an empty queue does not end it
  // Idle, it sleeps until something is queued instead of polling, and starts that at once.
  playback.SetMidiRepeat("song.mid", 70, 1);
  Run(3000);
  EXPECT_THAT(Times("play:"), ElementsAre(0, 3000, 6000, 20500));
}

TEST_F(MidiThreadTest, TimedEntryRestartsUntilItsEndAndIsThenStopped) {
  midi.SetSong("bgm.mid", 2500);
  playback.SetMidiUntil("bgm.mid", 250, At(7500));
  Run(20000);
  EXPECT_THAT(Times("play:"), ElementsAre(0, 3000, 6000));
  EXPECT_THAT(Times("stop"), ElementsAre(8000));
  EXPECT_THAT(Volumes(), ElementsAre(100, 100, 100));  // 250 is stored as 100
  EXPECT_THAT(LogTexts(),
              ElementsAre("Set[Midi]Thread bgm.mid endTime:2025/12/09(火) 12:00.07.500"));
}

TEST_F(MidiThreadTest, CountedEntriesGoBeforeTimedOnes) {
  midi.SetSong("timed.mid", 1500);
  midi.SetSong("counted.mid", 1500);
  Batch([&] {
    playback.SetMidiUntil("timed.mid", 50, At(60000));
    playback.SetMidiRepeat("counted.mid", 50, 2);
  });
  Run(6500);
  EXPECT_THAT(Times("play:counted.mid"), ElementsAre(0, 2000));
  EXPECT_THAT(Times("play:timed.mid"), ElementsAre(4000, 6000));
}

TEST_F(MidiThreadTest, MissingFileIsLoggedOncePerSecondUntilItsEndTime) {
  playback.SetMidiUntil("missing.mid", 50, At(3500));
  Run(10000);
  const auto texts = LogTexts();
  ASSERT_EQ(texts.size(), 5u);
  for (size_t i = 1; i < texts.size(); ++i)
    EXPECT_EQ(texts[i], "[missing.mid]ファイルが開けません");
  EXPECT_THAT(Times("load:"), ElementsAre(0, 1000, 2000, 3000));
}

TEST_F(MidiThreadTest, UnplayableFileLosesOnePlayAndTheWorkerGoesOn) {
  midi.SetSong("bad.mid", 1000);
  midi.SetSong("good.mid", 1000);
  midi.FailPlay("bad.mid");
  Batch([&] {
    playback.SetMidiRepeat("bad.mid", 50, 1);
    playback.SetMidiRepeat("good.mid", 50, 1);
  });
  Run(5000);
  EXPECT_EQ(LogTexts().back(), "[bad.mid]演奏できません");
  EXPECT_THAT(Times("play:"), ElementsAre(1000));
}

TEST_F(MidiThreadTest, LibraryThatCannotOpenEndsTheWorkerWithALogLine) {
  midi.FailOpen();
  midi.SetSong("song.mid", 1000);
  playback.SetMidiRepeat("song.mid", 50, 1);
  Run(3000);
  EXPECT_EQ(LogTexts().back(), "MIDIポートが開けません");
  EXPECT_TRUE(Times("play:").empty());
  EXPECT_FALSE(playback.HasMidiThread());
}

TEST_F(MidiThreadTest, ThirtyQueuedEntriesEndTheWorkerAndStopTheMusic) {
  midi.SetSong("song.mid", 60000);
  Batch([&] {
    for (int i = 0; i < 29; ++i) playback.SetMidiRepeat("song.mid", 50, 1);
  });
  Run(500);
  EXPECT_TRUE(midi.Playing());
  playback.SetMidiRepeat("song.mid", 50, 1);  // the 30th, counting the one that plays
  Run(1000);
  EXPECT_FALSE(midi.Playing());
  EXPECT_FALSE(playback.HasMidiThread());
  EXPECT_THAT(Times("close"), ElementsAre(1000));

  playback.SetMidiRepeat("song.mid", 50, 1);  // a fresh worker takes the next entry
  Run(500);
  EXPECT_TRUE(midi.Playing());
}

TEST_F(MidiThreadTest, MusicDucksToBackVolumeWhileSpeechSoundsAndComesBack) {
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  Run(100);
  playback.SetMessageCount("hello", 50, 1);  // sounds 1.5 s
  Run(5000);
  // Each cycle of the message worker hands the music its own volume back before it looks for
  // work; the speech lowers it, the first poll after the speech has ended (2100) restores it,
  // and so does the worker's end.
  using P = std::pair<int64_t, int32_t>;
  EXPECT_THAT(TimedVolumes(),
              ElementsAre(P{0, 70}, P{100, 70}, P{100, 40}, P{2100, 70}, P{2101, 70}));
}

TEST_F(MidiThreadTest, BackVolumeZeroKeepsTheEntryVolume) {
  back_volume = 0;
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  Run(100);
  playback.SetMessageCount("hello", 50, 1);
  Run(5000);
  EXPECT_THAT(Volumes(), ::testing::Each(70));
  EXPECT_GE(Volumes().size(), 3u);
}

TEST_F(MidiThreadTest, MutingSilencesThePlayingPieceAndHoldsBackWaitingOnes) {
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  Run(100);
  mute_checked = true;
  playback.SetMute(true);
  Run(1000);
  EXPECT_TRUE(midi.Playing());
  mute_checked = false;
  playback.SetMute(false);
  EXPECT_THAT(Volumes(), ElementsAre(70, 0, 70));

  playback.ClearAll();
  mute_checked = true;
  playback.SetMidiUntil("bgm.mid", 70, At(4000));  // ends while muted: never starts
  Run(5000);
  mute_checked = false;
  playback.SetMute(false);
  Run(3000);
  EXPECT_THAT(Times("play:"), ElementsAre(0));
}

TEST_F(MidiThreadTest, MusicQueuedWhileMutedStartsSilent) {
  mute_checked = true;
  playback.SetMute(true);
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiRepeat("bgm.mid", 70, 1);
  Run(100);
  EXPECT_TRUE(Times("play:").empty());  // a muted worker starts nothing
  mute_checked = false;
  playback.SetMute(false);
  Run(1000);
  EXPECT_THAT(Volumes(), ElementsAre(70));
}

// Reading a song can take long (a network folder, a sleeping disk). Skip and Mute, made on the
// UI thread meanwhile, must not wait for it; were they to, this test would hang.
TEST_F(MidiThreadTest, SkipAndMuteNeverWaitForASongBeingRead) {
  midi.SetSong("song.mid", 5000);
  midi.HoldLoads();
  playback.SetMidiRepeat("song.mid", 70, 1);
  midi.WaitUntilLoading();
  playback.Skip();
  playback.SetMute(true);
  playback.SetMute(false);
  midi.ReleaseLoads();
  Run(1000);
  EXPECT_THAT(Times("play:"), ElementsAre(0));
}

}  // namespace
}  // namespace chimewell::testing
