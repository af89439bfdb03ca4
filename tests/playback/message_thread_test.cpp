// The message worker in virtual time: precedence, counts and end times, limits, volumes, the
// time-signal sequence, and what its queue operations write to the log.
#include <gmock/gmock.h>

#include "core/datetime.h"
#include "core/local_time.h"
#include "playback_fixture.h"

namespace chimewell::testing {
namespace {

using ::testing::ElementsAre;

struct Play {
  std::string what;
  int64_t start;
  int64_t end;
  bool operator==(const Play&) const = default;
};

class MessageThreadTest : public PlaybackTest {
 protected:
  std::vector<Play> Plays() const {
    std::vector<Play> plays;
    for (const auto& call : sound.Plays()) {
      plays.push_back({call.what, Since(call.start_ms), Since(call.end_ms)});
    }
    return plays;
  }
};

void PrintTo(const Play& play, std::ostream* os) {
  *os << play.what << "@" << play.start << "-" << play.end;
}

TEST_F(MessageThreadTest, TwoFragmentsRepeatedThreeTimesHaveOneSecondGaps) {
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one", "two"}, &offsets);
  sound.SetDuration("memory:one", 300);
  sound.SetDuration("memory:two", 400);
  playback.SetTimeSignal(image, offsets, 3);
  image.reset();  // the settings reload: the queued sequence keeps its own share of the image
  EXPECT_TRUE(playback.IsTimeSignalQueued());
  Run(10000);
  EXPECT_THAT(Plays(), ElementsAre(Play{"memory:one", 0, 300}, Play{"memory:two", 300, 700},
                                   Play{"memory:one", 1700, 2000}, Play{"memory:two", 2000, 2400},
                                   Play{"memory:one", 3400, 3700}, Play{"memory:two", 3700, 4100}));
  EXPECT_FALSE(playback.IsTimeSignalQueued());
  EXPECT_FALSE(playback.HasMessageThread());
  EXPECT_THAT(skip_states, ElementsAre(true, false));
}

TEST_F(MessageThreadTest, MissingFragmentPlaysTheBuiltInSoundAndBadOffsetsAreSafe) {
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one"}, &offsets);
  playback.SetTimeSignal(image, {-1, offsets[0], 100000, 3}, 1);
  Run(5000);
  const auto plays = Plays();
  ASSERT_EQ(plays.size(), 4u);
  EXPECT_EQ(plays[0].what, "builtin");
  EXPECT_EQ(plays[1].what, "memory:one");
  EXPECT_EQ(plays[2].what, "memory:");  // outside the image: an empty, unplayable image
  EXPECT_EQ(plays[3].what, "memory:");  // inside a fragment: cut to what the buffer holds
}

TEST_F(MessageThreadTest, QueuedTimeSignalIsNeverReplacedAndRepeatZeroOnlyStopsSound) {
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one", "two"}, &offsets);
  Batch([&] {
    playback.SetTimeSignal(image, {offsets[0]}, 1);
    playback.SetTimeSignal(image, {offsets[1]}, 2);
  });
  Run(5000);
  EXPECT_THAT(Plays(), ElementsAre(Play{"memory:one", 0, 500}));

  const size_t calls_before = sound.Calls().size();
  playback.SetTimeSignal(image, offsets, 0);
  Run(5000);
  const auto calls = sound.Calls();
  ASSERT_EQ(calls.size(), calls_before + 1);
  EXPECT_EQ(calls.back().what, "purge");
  EXPECT_FALSE(playback.HasMessageThread());
}

TEST_F(MessageThreadTest, TimeSignalOfMoreThanSixtyStepsIsDroppedUnplayed) {
  playback.SetTimeSignal(nullptr, std::vector<int32_t>(61, -1), 1);
  Run(60000);
  EXPECT_TRUE(sound.Plays().empty());

  playback.SetTimeSignal(nullptr, std::vector<int32_t>(30, -1), 2);  // 30 + pause + 30
  Run(60000);
  EXPECT_TRUE(sound.Plays().empty());

  playback.SetTimeSignal(nullptr, std::vector<int32_t>(60, -1), 1);
  Run(60000);
  EXPECT_EQ(sound.Plays().size(), 60u);
}

TEST_F(MessageThreadTest, TimeSignalGoesFirstThenSpeechThenWaveFiles) {
  sound.SetDuration("memory:one", 300);
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one"}, &offsets);
  Batch([&] {
    playback.SetWaveCount("a.wav", 1);
    playback.SetMessageCount("hello", 50, 1);
    playback.SetTimeSignal(image, offsets, 1);
  });
  Run(10000);
  // Speech (1.5 s) is polled once a second; the file waits until it has finished.
  EXPECT_THAT(SpokenTimes(), ElementsAre(300));
  EXPECT_THAT(Plays(), ElementsAre(Play{"memory:one", 0, 300}, Play{"file:a.wav", 2300, 2800}));
  EXPECT_FALSE(playback.HasMessageThread());
}

TEST_F(MessageThreadTest, TimeSignalWaitsOnlyForSpeechAlreadySounding) {
  speech.SetDuration("first", 2500);
  playback.SetMessageCount("first", 50, 1);
  Run(500);
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one"}, &offsets);
  // Queued while the worker waits for "first" to finish.
  playback.SetMessageCount("second", 50, 1);
  playback.SetTimeSignal(image, offsets, 1);
  Run(10000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("first", "second"));
  EXPECT_THAT(SpokenTimes(), ElementsAre(0, 3500));
  EXPECT_THAT(Plays(), ElementsAre(Play{"memory:one", 3000, 3500}));
}

// Announcements held up behind a long utterance: within LateLimit they play late, beyond it
// they are dropped and logged.
TEST_F(MessageThreadTest, AnnouncementsHeldUpPastLateLimitAreDroppedAndLogged) {
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one"}, &offsets);
  for (const int limit : {120, 60}) {
    SCOPED_TRACE(limit);
    late_limit = limit;
    const int64_t start = clock.UnixMs();
    const size_t plays_before = sound.Plays().size();
    speech.SetDuration("long", 90000);
    playback.SetMessageCount("long", 50, 1);
    Run(500);
    playback.SetMessageCount("due", 50, 1, WallMoment::FromUnixMs(start + 1000));
    playback.SetTimeSignal(image, offsets, 1, WallMoment::FromUnixMs(start + 1000));
    Run(200000);
    const bool late_plays = limit > 90;
    EXPECT_EQ(SpokenTexts().back(), late_plays ? "due" : "long");
    EXPECT_EQ(sound.Plays().size() - plays_before, late_plays ? 1u : 0u);
    const std::string at = FormatDateTime("hh:nn.ss", LocalOf(start + 1000));
    int passed_over = 0;
    for (const auto& line : LogTexts()) {
      passed_over += line == "見送り " + at + " 『due』" || line == "見送り " + at + " の時報";
    }
    EXPECT_EQ(passed_over, late_plays ? 0 : 2);
  }
}

// Handed over in time, then the machine sleeps before the first sound: past LateLimit the
// speech control and the sound player drop it, and the worker logs it.
TEST_F(MessageThreadTest, ASleepBetweenHandOverAndFirstSoundDropsWhatIsTooLate) {
  std::vector<int32_t> offsets;
  auto image = VoiceImage({"one", "two"}, &offsets);
  for (const int64_t sleep : {30000, 7200000}) {
    SCOPED_TRACE(sleep);
    speech.SleepBeforeStart(sleep);
    sound.SleepBeforeStart(sleep);
    const int64_t start = clock.UnixMs() + 500;
    const size_t plays_before = sound.Plays().size();
    const size_t spoken_before = SpokenTexts().size();
    Batch([&] {
      playback.SetTimeSignal(image, offsets, 1, WallMoment::FromUnixMs(start));
      playback.SetMessageCount("due", 50, 1, WallMoment::FromUnixMs(start));
    });
    Run(20000);
    const bool dropped = sleep > 60000;
    EXPECT_EQ(sound.Plays().size() - plays_before, dropped ? 0u : 2u);
    EXPECT_EQ(SpokenTexts().size() - spoken_before, dropped ? 0u : 1u);
    const std::string at = FormatDateTime("hh:nn.ss", LocalOf(start));
    int passed_over = 0;
    for (const auto& line : LogTexts()) {
      passed_over += line == "見送り " + at + " 『due』" || line == "見送り " + at + " の時報";
    }
    EXPECT_EQ(passed_over, dropped ? 2 : 0);
  }
}

TEST_F(MessageThreadTest, CountedEntriesPlayOutBeforeTimedOnesAndTimedSpeechIsCutAtItsEnd) {
  Batch([&] {
    playback.SetMessageUntil("until", 50, At(5000));
    playback.SetMessageCount("twice", 50, 2);
  });
  Run(20000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("twice", "twice", "until"));
  EXPECT_THAT(SpokenTimes(), ElementsAre(0, 2000, 4000));
  EXPECT_FALSE(speech.Speaking());  // cut at 5000 instead of sounding until 5500
  EXPECT_FALSE(playback.HasMessageThread());
}

TEST_F(MessageThreadTest, TimedWaveRepeatsWithOneSecondPausesUntilItsEnd) {
  sound.SetDuration("file:bell.wav", 1000);
  playback.SetWaveUntil("bell.wav", At(4500));
  Run(20000);
  EXPECT_THAT(Plays(),
              ElementsAre(Play{"file:bell.wav", 0, 1000}, Play{"file:bell.wav", 2000, 3000},
                          Play{"file:bell.wav", 4000, 5000}));  // not cut at its end
}

TEST_F(MessageThreadTest, UsedUpAndExpiredEntriesNeverPlayAndTheWorkerEnds) {
  Batch([&] {
    playback.SetMessageCount("zero", 50, 0);
    playback.SetMessageUntil("past", 50, At(-1000));
    playback.SetWaveCount("zero.wav", 0);
    playback.SetWaveUntil("past.wav", At(-1));
  });
  Run(3000);
  EXPECT_TRUE(speech.Utterances().empty());
  EXPECT_TRUE(sound.Plays().empty());
  EXPECT_FALSE(playback.HasMessageThread());
  EXPECT_EQ(playback.RunningWorkerCount(), 0);
}

TEST_F(MessageThreadTest, ThirtyEntriesPlayButAThirtyFirstEmptiesTheQueue) {
  speech.SetDuration("t", 100);
  Batch([&] {
    for (int i = 0; i < 31; ++i) playback.SetMessageCount("t", 50, 1);
    for (int i = 0; i < 30; ++i) playback.SetWaveCount("w.wav", 1);
  });
  sound.SetDuration("file:w.wav", 10);
  Run(120000);
  EXPECT_TRUE(speech.Utterances().empty());
  EXPECT_EQ(sound.Plays().size(), 30u);

  Batch([&] {
    for (int i = 0; i < 30; ++i) playback.SetMessageCount("t", 50, 1);
    for (int i = 0; i < 31; ++i) playback.SetWaveCount("w.wav", 1);
  });
  Run(120000);
  EXPECT_EQ(speech.Utterances().size(), 30u);
  EXPECT_EQ(sound.Plays().size(), 30u);
}

TEST_F(MessageThreadTest, VolumeIsClampedButLoggedAsPassed) {
  Batch([&] {
    playback.SetMessageCount("low", -5, 1);
    playback.SetMessageCount("high", 150, 1);
    playback.SetMessageUntil("half", 50, At(60000));
    playback.SetWaveCount("a.wav", 2);
    playback.SetWaveUntil("b.wav", At(1234));
  });
  Run(4000);
  const auto spoken = speech.Utterances();
  ASSERT_EQ(spoken.size(), 3u);
  EXPECT_EQ(spoken[0].volume_left, 0u);
  EXPECT_EQ(spoken[1].volume_left, 65535u);
  EXPECT_EQ(spoken[1].volume_right, 65535u);
  EXPECT_EQ(spoken[2].volume_left, 32767u);
  EXPECT_THAT(LogTexts(),
              ElementsAre("Set[Message]Thread low vol=-5 count:1",
                          "Set[Message]Thread high vol=150 count:1",
                          "Set[Message]Thread half vol=50 endTime:2025/12/09(火) 12:01.00.000",
                          "Set[Message]Thread a.wav count:2",
                          "Set[Message]Thread b.wav endTime:2025/12/09(火) 12:00.01.234"));
}

TEST_F(MessageThreadTest, FailingSpeechControlEndsTheWorkerAndDropsItsQueue) {
  speech.FailOn("bad");
  Batch([&] {
    playback.SetMessageCount("bad", 50, 1);
    playback.SetMessageCount("good", 50, 1);
    playback.SetWaveCount("a.wav", 1);
  });
  Run(5000);
  EXPECT_TRUE(speech.Utterances().empty());
  EXPECT_TRUE(sound.Plays().empty());
  EXPECT_FALSE(playback.HasMessageThread());
  EXPECT_THAT(Faults(), ElementsAre("内部エラー(playback): speech control failed"));

  playback.SetMessageCount("later", 50, 1);
  Run(5000);
  EXPECT_THAT(SpokenTexts(), ElementsAre("later"));
}

TEST_F(MessageThreadTest, SpeechWithoutAnEngineDoesNotSpinThroughATimedEntry) {
  speech.SetDuration("quiet", 0);  // Speaking() is 0 at once, as with no speech engine
  playback.SetMessageUntil("quiet", 50, At(3500));
  Run(10000);
  EXPECT_THAT(SpokenTimes(), ElementsAre(0, 1000, 2000, 3000));
}

TEST_F(MessageThreadTest, EndedWorkerRefusesItemsSoTheCallerCanStartAFreshOne) {
  InlineUiThread inline_ui;
  UiHandOff hand_off(inline_ui);
  MessageThreadHost host{sound, speech, log, nullptr, nullptr, nullptr, nullptr, nullptr};
  TMessageThread worker(clock, hand_off, host);
  worker.Start();  // nothing queued: it ends at once
  ASSERT_TRUE(clock.Settle([&] { return worker.Running() ? 1 : 0; }));
  EXPECT_FALSE(worker.SetMessageCount("late", 50, 1));
  EXPECT_FALSE(worker.SetWaveCount("late.wav", 1));
  EXPECT_FALSE(worker.SetTimeSignal(nullptr, {-1}, 1));
  EXPECT_TRUE(LogTexts().empty());
  worker.Join();
}

// A caller on another thread that holds the worker to queue a WAVE file just as an utterance
// is about to start must not cost that utterance; a pause at that moment drops it.
TEST_F(MessageThreadTest, AHoldToQueueKeepsTheUtteranceAboutToStartAndAPauseDropsIt) {
  for (const bool pause : {false, true}) {
    SCOPED_TRACE(pause ? "pause" : "hold");
    InlineUiThread inline_ui;
    UiHandOff hand_off(inline_ui);
    TMessageThread* self = nullptr;
    std::atomic<bool> held{false};
    // Ducking the music is the utterance's first step: the hold comes right then.
    const auto duck = [&](int volume) {
      if (volume == 0 || held.exchange(true)) return;
      pause ? self->Suspend() : self->Hold();
    };
    MessageThreadHost host{sound, speech, log, nullptr, [] { return 40; }, duck, nullptr, nullptr};
    TMessageThread worker(clock, hand_off, host);
    self = &worker;
    ASSERT_TRUE(worker.SetMessageCount(pause ? "paused" : "held", 50, 1));
    worker.Start();
    const auto running = [&] { return worker.Running() ? 1 : 0; };
    ASSERT_TRUE(clock.Settle(running));
    ASSERT_TRUE(held);
    pause ? worker.Resume() : worker.Release();
    ASSERT_TRUE(clock.RunFor(5000, running));
    worker.Join();
  }
  EXPECT_THAT(SpokenTexts(), ElementsAre("held"));
}

}  // namespace
}  // namespace chimewell::testing
