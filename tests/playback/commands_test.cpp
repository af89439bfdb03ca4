// Skip, Pause, Mute and Clear All as they reach the workers; worker lifetimes and the
// hand-off to the UI thread.
#include <gmock/gmock.h>

#include <thread>

#include "playback_fixture.h"

namespace chimewell::testing {
namespace {

using ::testing::ElementsAre;

class CommandsTest : public PlaybackTest {
 protected:
  std::vector<int64_t> MusicStarts() const {
    std::vector<int64_t> times;
    for (const auto& event : midi.Events("play:")) times.push_back(Since(event.at_ms));
    return times;
  }
};

TEST_F(CommandsTest, SkipDuringTimeSignalCutsItAndTheMusicComesBack) {
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  Run(100);
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one", "two"}, &offsets);
  sound.SetDuration("memory:one", 1000);
  playback.SetTimeSignal(image, offsets, 2);
  Run(400);
  playback.Skip();
  Run(3000);
  const auto plays = sound.Plays();
  ASSERT_EQ(plays.size(), 1u);  // the rest of the sequence is dropped
  EXPECT_EQ(Since(plays[0].start_ms), 100);
  EXPECT_EQ(Since(plays[0].end_ms), 500);
  EXPECT_TRUE(plays[0].cut);
  EXPECT_FALSE(playback.IsTimeSignalQueued());
  // Ducked for the signal, restored by the skip; the current play of the music is skipped too
  // and the timed entry starts again at the worker's next cycle, at its own volume.
  int32_t before_skip = -1;
  for (const auto& event : midi.Events("volume")) {
    if (Since(event.at_ms) < 500) {
      before_skip = event.value;
    } else {
      EXPECT_EQ(event.value, 70) << "at " << Since(event.at_ms);
    }
  }
  EXPECT_EQ(before_skip, 40);
  EXPECT_EQ(Since(midi.Events("volume").back().at_ms), 1000);
  EXPECT_TRUE(midi.Playing());
}

TEST_F(CommandsTest, SkipDuringWaveCutsOnlyThatFile) {
  sound.SetDuration("file:a.wav", 2000);
  Batch([&] {
    playback.SetWaveCount("a.wav", 1);
    playback.SetWaveCount("b.wav", 1);
  });
  Run(500);
  playback.Skip();
  Run(5000);
  const auto plays = sound.Plays();
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_TRUE(plays[0].cut);
  EXPECT_EQ(Since(plays[0].end_ms), 500);
  EXPECT_EQ(plays[1].what, "file:b.wav");
  EXPECT_EQ(Since(plays[1].start_ms), 1500);
  EXPECT_FALSE(plays[1].cut);
}

TEST_F(CommandsTest, SkipDuringSpeechStopsItAndTheNextChosenEntryLosesOnePlay) {
  Batch([&] {
    playback.SetMessageCount("a", 50, 1);
    playback.SetMessageCount("b", 50, 1);
    playback.SetMessageCount("c", 50, 1);
  });
  Run(500);
  playback.Skip();
  EXPECT_EQ(speech.Speaking(), 0);
  Run(5000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("a", "c"));
  EXPECT_THAT(SpokenTimes(), ElementsAre(0, 500));
}

TEST_F(CommandsTest, SkipWithNothingPlayingChangesNothing) {
  playback.Skip();
  playback.SetMessageCount("a", 50, 1);
  Run(3000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("a"));
}

TEST_F(CommandsTest, MutedSpeechWaitsSilentlyAndSpeaksWhenUnmuted) {
  mute_checked = true;
  playback.SetMute(true);
  playback.SetMessageCount("hello", 80, 1);
  Run(5000);
  EXPECT_TRUE(speech.Utterances().empty());
  mute_checked = false;
  playback.SetMute(false);
  Run(3000);
  EXPECT_THAT(SpokenTimes(), ElementsAre(5000));
}

TEST_F(CommandsTest, MutingDuringSpeechSilencesItWithoutRestarting) {
  speech.SetDuration("long", 10000);
  playback.SetMessageCount("long", 80, 1);
  Run(500);
  EXPECT_EQ(speech.VolumeLeft(), 80u * 65535 / 100);
  mute_checked = true;
  playback.SetMute(true);
  EXPECT_EQ(speech.VolumeLeft(), 0u);
  EXPECT_EQ(speech.VolumeRight(), 0u);
  Run(3000);
  mute_checked = false;
  playback.SetMute(false);
  EXPECT_EQ(speech.VolumeLeft(), 80u * 65535 / 100);
  Run(1000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("long"));
}

TEST_F(CommandsTest, MutingDuringATimeSignalPassesTheRestSilentlyTwoSecondsPerFragment) {
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one", "two", "three"}, &offsets);
  playback.SetTimeSignal(image, offsets, 1);
  Run(100);
  mute_checked = true;
  playback.SetMute(true);  // cuts "one"
  Run(3900);
  EXPECT_TRUE(playback.IsTimeSignalQueued());
  Run(200);
  EXPECT_FALSE(playback.IsTimeSignalQueued());
  const auto plays = sound.Plays();
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_TRUE(plays[0].cut);
}

TEST_F(CommandsTest, TimeSignalQueuedWhileMutedWaitsForUnmuting) {
  mute_checked = true;
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one"}, &offsets);
  playback.SetTimeSignal(image, offsets, 1);
  Run(5000);
  EXPECT_TRUE(sound.Plays().empty());
  mute_checked = false;
  playback.SetMute(false);
  Run(1000);
  ASSERT_EQ(sound.Plays().size(), 1u);
  EXPECT_EQ(Since(sound.Plays()[0].start_ms), 5000);
}

TEST_F(CommandsTest, PauseHoldsBothWorkersUntilResumed) {
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  Batch([&] {
    playback.SetMessageCount("a", 50, 1);
    playback.SetMessageCount("b", 50, 1);
    playback.SetMessageCount("c", 50, 1);
  });
  Run(500);
  playback.Pause(true);
  EXPECT_FALSE(midi.Playing());
  EXPECT_EQ(skip_states.back(), false);
  Run(10000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("a"));
  EXPECT_THAT(MusicStarts(), ElementsAre(0));

  playback.Pause(false);
  Run(3000);
  // Pausing skipped "a"; the pending skip takes "b" as it would for Skip.
  EXPECT_THAT(SpokenTexts(), ElementsAre("a", "c"));
  EXPECT_EQ(MusicStarts().size(), 2u);
  EXPECT_TRUE(midi.Playing());
}

TEST_F(CommandsTest, HeldMusicRestsUntilReleasedWhileSpeechGoesOn) {
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  Run(500);
  playback.HoldMusic(true);
  EXPECT_FALSE(midi.Playing());
  playback.HoldMusic(true);  // said again: still one hold
  playback.SetMessageCount("a", 50, 1);
  Run(10000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("a"));
  EXPECT_THAT(MusicStarts(), ElementsAre(0));

  playback.HoldMusic(false);
  Run(3000);
  EXPECT_EQ(MusicStarts().size(), 2u);
  EXPECT_TRUE(midi.Playing());
  // A pause of the menu still holds it on top.
  playback.Pause(true);
  playback.HoldMusic(true);
  playback.HoldMusic(false);
  Run(3000);
  EXPECT_FALSE(midi.Playing());
  playback.Pause(false);
}

TEST_F(CommandsTest, ClearAllEndsBothWorkersAtOnceAndTheNextItemStartsAfresh) {
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one"}, &offsets);
  sound.SetDuration("memory:one", 5000);
  Run(100);
  playback.SetTimeSignal(image, offsets, 3);
  Run(100);
  playback.ClearAll();
  EXPECT_FALSE(playback.HasMessageThread());
  EXPECT_FALSE(playback.HasMidiThread());
  Run(100);
  EXPECT_EQ(playback.RunningWorkerCount(), 0);
  EXPECT_FALSE(midi.Playing());
  const auto plays = sound.Plays();
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_TRUE(plays[0].cut);
  EXPECT_EQ(midi.Events("close").size(), 1u);

  playback.SetTimeSignal(image, offsets, 1);
  Run(6000);
  EXPECT_EQ(sound.Plays().size(), 2u);
}

TEST_F(CommandsTest, ClearAllWhilePausedEndsTheHeldWorkers) {
  midi.SetSong("bgm.mid", 600000);
  playback.SetMidiUntil("bgm.mid", 70, At(600000));
  playback.SetMessageUntil("bgm", 50, At(600000));
  Run(500);
  playback.Pause(true);
  Run(1000);
  playback.ClearAll();
  Run(100);
  EXPECT_EQ(playback.RunningWorkerCount(), 0);
  EXPECT_FALSE(playback.HasMessageThread());
}

TEST_F(CommandsTest, LateEndNotificationLeavesTheNewerWorkerInPlace) {
  playback.SetMessageUntil("old", 50, At(600000));
  Run(500);
  ui.Gate(true);
  playback.ClearAll();
  Run(100);  // the old worker ends; its notification is held back
  ASSERT_EQ(ui.Held(), 1u);
  ui.Gate(false);

  playback.SetMessageCount("new", 50, 1);
  Run(100);
  ui.RunHeld();
  EXPECT_TRUE(playback.HasMessageThread());
  Run(3000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("old", "new"));
  EXPECT_FALSE(playback.HasMessageThread());
}

TEST_F(CommandsTest, NothingIsQueuedTwiceOrLostWhenManyThreadsQueueAtOnce) {
  speech.SetDuration("t", 10);
  std::vector<std::thread> callers;
  for (int i = 0; i < 4; ++i) {
    callers.emplace_back([this] {
      for (int j = 0; j < 5; ++j) playback.SetMessageCount("t", 50, 1);
    });
  }
  for (auto& caller : callers) caller.join();
  Run(60000);
  EXPECT_EQ(speech.Utterances().size(), 20u);
  EXPECT_EQ(LogTexts().size(), 20u);
}

TEST(UiHandOffTest, ClosingReleasesAWorkerWaitingForAUiThreadThatNoLongerRuns) {
  struct NeverRunningUi final : UiThread {
    void RunSync(const std::function<void()>& step) override { step(); }
    void Post(std::function<void()> step) override {
      const std::lock_guard lock(mutex);
      posted.push_back(std::move(step));
    }
    bool NothingPosted() {
      const std::lock_guard lock(mutex);
      return posted.empty();
    }
    std::mutex mutex;
    std::vector<std::function<void()>> posted;
  } ui;
  UiHandOff hand_off(ui);
  bool ran = false;
  std::atomic<bool> closed_seen{false};
  std::thread worker([&] {
    try {
      hand_off.Run([&] { ran = true; });
    } catch (const HandOffClosed&) {
      closed_seen = true;
    }
  });
  while (ui.NothingPosted()) std::this_thread::yield();
  hand_off.Close();
  worker.join();
  EXPECT_TRUE(closed_seen);
  ui.posted.front()();  // the UI thread gets to it late: the step is dropped
  EXPECT_FALSE(ran);
  EXPECT_THROW(hand_off.Run([] {}), HandOffClosed);
}

}  // namespace
}  // namespace chimewell::testing
