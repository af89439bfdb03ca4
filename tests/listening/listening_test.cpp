// What the playback stack plays, heard through the capture file: time-signal gaps, the order of
// speech and sounds, music ducked under speech, Skip and Mute.
#include <cstdio>

#include "listening/listening_fixture.h"

namespace chimewell {
namespace {

using namespace std::chrono_literals;
using testing::Median;
using testing::RmsLevels;
using testing::Spans;
using testing::ToneLevels;
using testing::WaitUntil;
using testing::WindowSeconds;

constexpr char kShortText[] = "ただいまの時刻は";
constexpr char kLongText[] = "ただいま午後3時15分をお知らせします";
// About four seconds of speech: it outlasts a short mute on a slow machine too.
constexpr char kLongerText[] = "ただいま午後3時15分をお知らせします。本日は晴れです";

// A tone as the bytes of a WAVE file.
std::string ToneFile(double seconds, double freq, double amplitude = 0.5) {
  const auto bytes = EncodeWave(testing::MakeTone(22050, 1, seconds, freq, amplitude));
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A temporary file removed when the test ends.
struct TempFile {
  explicit TempFile(const std::string& name, const std::string& bytes)
      : path(testing::TempPath(name)) {
    testing::WriteBytes(path, {bytes.begin(), bytes.end()});
  }
  ~TempFile() { std::remove(path.c_str()); }
  std::string path;
};

using ListeningTest = testing::ListeningTest;

TEST_F(ListeningTest, ATimeSignalRepeatedThriceHasItsOneSecondGaps) {
  constexpr double kLow = 600, kHigh = 1500;
  auto image = std::make_shared<VoiceImage>();
  const std::vector<int32_t> fragments = {image->Append(ToneFile(0.3, kLow)),
                                          image->Append(ToneFile(0.3, kHigh))};
  playback_->SetTimeSignal(image, fragments, 3);
  ASSERT_TRUE(WaitIdle());
  const auto clip = Heard();

  const auto rms = RmsLevels(clip);
  // Fragments follow each other with at most a block between them, so each repetition is one
  // stretch of sound; the repetitions are apart by the pause.
  const auto spans = Spans(rms, 0.05, 10);
  ASSERT_EQ(spans.size(), 3u);
  const auto low = ToneLevels(clip, kLow), high = ToneLevels(clip, kHigh);
  for (size_t i = 0; i < spans.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& s = spans[i];
    EXPECT_GT(WindowSeconds(s.Windows()), 0.5);
    EXPECT_LT(WindowSeconds(s.Windows()), 0.9);
    // The first fragment, then the second.
    const size_t third = s.Windows() / 3;
    EXPECT_GT(Median(low, s.first, s.first + third), 4 * Median(high, s.first, s.first + third));
    EXPECT_GT(Median(high, s.last + 1 - third, s.last + 1),
              4 * Median(low, s.last + 1 - third, s.last + 1));
    if (i > 0) {
      const double gap = WindowSeconds(s.first - spans[i - 1].last - 1);
      EXPECT_GT(gap, 0.8);
      EXPECT_LT(gap, 1.6);
    }
  }
}

TEST_F(ListeningTest, SpeechQueuedBeforeAWaveFileIsHeardFirst) {
  if (SpeechMissing()) GTEST_SKIP() << "Open JTalk, its dictionary or its voice is not installed";
  constexpr double kToneHz = 2000;
  const TempFile wave("tone.wav", ToneFile(0.5, kToneHz));
  playback_->SetMessageCount(kShortText, 100, 1);
  playback_->SetWaveCount(wave.path, 1);
  ASSERT_TRUE(WaitIdle());
  const auto clip = Heard();

  const auto rms = RmsLevels(clip), tone = ToneLevels(clip, kToneHz);
  const auto tone_spans = Spans(tone, 0.2);
  ASSERT_EQ(tone_spans.size(), 1u) << "the WAVE file is heard once";
  EXPECT_GT(WindowSeconds(tone_spans[0].Windows()), 0.4);
  // Speech: sound that is not the tone.
  std::vector<double> voice(rms.size());
  for (size_t i = 0; i < rms.size(); ++i) voice[i] = tone[i] < 0.05 ? rms[i] : 0;
  const auto speech_spans = Spans(voice, 0.02, 25);
  ASSERT_FALSE(speech_spans.empty()) << "no speech was heard; the speech control said: "
                                     << SpeechReports();
  EXPECT_GT(WindowSeconds(speech_spans.back().last - speech_spans.front().first), 0.5);
  EXPECT_LT(speech_spans.back().last, tone_spans[0].first);
}

TEST_F(ListeningTest, MusicUnderSpeechDropsToBackVolumeAndComesBack) {
  if (SpeechMissing()) GTEST_SKIP() << "Open JTalk, its dictionary or its voice is not installed";
  if (midi_->soundfont().empty()) GTEST_SKIP() << "no SoundFont installed";
  // One flute note (nearly a pure tone) held for twenty seconds, more than the test needs.
  constexpr int kNote = 84;
  const double note_hz = 440.0 * std::pow(2.0, (kNote - 69) / 12.0);
  const auto midi_bytes = testing::MakeMidi({kNote}, 19200, 73);
  const TempFile music("flute.mid", {midi_bytes.begin(), midi_bytes.end()});
  back_volume_ = 10;
  playback_->SetMidiRepeat(music.path, 50, 1);
  ASSERT_TRUE(WaitHeard(1.0)) << "the music did not start";
  // The music is ducked from here on, before the speech itself sounds.
  const size_t queued_at = CapturedFrames();
  playback_->SetMessageCount(kLongText, 100, 1);
  // The message worker ends once the speech has ended and the music is restored.
  ASSERT_TRUE(WaitUntil(30s, [this] { return !playback_->HasMessageThread(); }));
  ASSERT_TRUE(WaitCaptured(CapturedFrames() + 2 * kMixRate));
  const auto clip = Heard();

  // Tenth-of-a-second windows smooth out the flute's breath and the gaps between words.
  constexpr size_t kWindow = kMixRate / 10;
  const auto rms = RmsLevels(clip, kWindow), tone = ToneLevels(clip, note_hz, kWindow);
  const auto music_spans = Spans(tone, 0.005, 40);
  ASSERT_EQ(music_spans.size(), 1u) << "the music did not play throughout";
  const size_t music_first = music_spans[0].first, music_last = music_spans[0].last;
  // Speech: sound well beyond what the music carries besides its note.
  std::vector<double> voice(rms.size());
  for (size_t i = 0; i < rms.size(); ++i) {
    voice[i] = std::sqrt(std::max(0.0, rms[i] * rms[i] - tone[i] * tone[i] / 2));
  }
  // Until the speech was queued, after a second of music, the music sounded alone.
  const size_t queued_window = queued_at / kWindow;
  ASSERT_GE(queued_window, music_first + 8);
  const double music_rest =
      *std::max_element(voice.begin() + static_cast<ptrdiff_t>(music_first + 1),
                        voice.begin() + static_cast<ptrdiff_t>(queued_window));
  const auto speech_spans = Spans(voice, 1.5 * music_rest + 0.005, 5);
  ASSERT_FALSE(speech_spans.empty()) << "no speech was heard; the speech control said: "
                                     << SpeechReports();
  const size_t speech_first = speech_spans.front().first, speech_last = speech_spans.back().last;
  ASSERT_GE(speech_first, queued_window);
  ASSERT_GT(music_last, speech_last + 10);

  // The note's attack is louder than what it holds: the level before is measured after it.
  const double before = Median(tone, music_first + 4, queued_window - 1);
  const double under = Median(tone, speech_first, speech_last + 1);
  // The last second before the music was cleared away, two seconds after the worker ended.
  const double after = Median(tone, music_last - 9, music_last - 1);
  std::printf("music level before %.4f, under speech %.4f, after %.4f\n", before, under, after);
  EXPECT_GT(before, 0.02);
  EXPECT_LT(under, 0.5 * before);  // a tenth of full volume would be 0.2 of volume 50
  EXPECT_GT(after, 0.6 * before);
}

TEST_F(ListeningTest, SkipCutsTheSoundThatPlays) {
  const TempFile wave("long.wav", ToneFile(6.0, 1000));
  playback_->SetWaveCount(wave.path, 1);
  ASSERT_TRUE(WaitHeard(0.3)) << "the sound did not start";
  playback_->Skip();
  ASSERT_TRUE(WaitIdle());
  const auto spans = Spans(RmsLevels(Heard()), 0.05);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_GT(WindowSeconds(spans[0].Windows()), 0.25);
  EXPECT_LT(WindowSeconds(spans[0].Windows()), 3.0);  // of a six-second sound
}

TEST_F(ListeningTest, MutedSpeechIsSilentAndIsSpokenOnceUnmuted) {
  if (SpeechMissing()) GTEST_SKIP() << "Open JTalk, its dictionary or its voice is not installed";
  mute_checked_ = true;
  playback_->SetMute(true);
  const size_t queued_at = CapturedFrames();
  playback_->SetMessageCount(kShortText, 100, 1);
  ASSERT_TRUE(WaitCaptured(queued_at + kMixRate * 3 / 2));
  const size_t muted_frames = CapturedFrames();
  mute_checked_ = false;
  playback_->SetMute(false);
  ASSERT_TRUE(WaitUntil(30s, [this] { return !playback_->HasMessageThread(); }));
  ASSERT_TRUE(WaitIdle());
  const auto clip = Heard();

  const auto spans = Spans(RmsLevels(clip), 0.02, 25);
  ASSERT_FALSE(spans.empty()) << "nothing was spoken after unmuting";
  EXPECT_GE(spans.front().first * testing::kWindowFrames + testing::kWindowFrames, muted_frames)
      << "speech sounded while muted";
  EXPECT_GT(WindowSeconds(spans.back().last - spans.front().first), 0.5);
}

TEST_F(ListeningTest, MutingSilencesSpeechThatSoundsAndUnmutingBringsItBack) {
  if (SpeechMissing()) GTEST_SKIP() << "Open JTalk, its dictionary or its voice is not installed";
  playback_->SetMessageCount(kLongerText, 100, 1);
  ASSERT_TRUE(WaitHeard(0.1)) << "the speech did not start";
  mute_checked_ = true;
  playback_->SetMute(true);
  const size_t muted_at = CapturedFrames();
  // Muted for 0.6 s of the capture however slow the machine runs; the speech lasts about four.
  ASSERT_TRUE(WaitCaptured(muted_at + kMixRate * 6 / 10));
  const size_t unmuted_at = CapturedFrames();
  mute_checked_ = false;
  playback_->SetMute(false);
  ASSERT_TRUE(WaitUntil(30s, [this] { return !playback_->HasMessageThread(); }));
  ASSERT_TRUE(WaitIdle());
  const auto clip = Heard();

  const auto rms = RmsLevels(clip);
  const auto window = [](size_t frames) { return frames / testing::kWindowFrames; };
  // Margins of a tenth of a second on each side for the capture's own buffering.
  const size_t quiet_first = window(muted_at) + 5, quiet_last = window(unmuted_at) - 5;
  ASSERT_LT(quiet_first, quiet_last);
  EXPECT_LT(*std::max_element(rms.begin() + static_cast<ptrdiff_t>(quiet_first),
                              rms.begin() + static_cast<ptrdiff_t>(quiet_last)),
            0.005)
      << "speech sounded while muted";
  const auto spans = Spans(rms, 0.02, 25);
  ASSERT_FALSE(spans.empty());
  EXPECT_LT(spans.front().first, quiet_first);
  EXPECT_GT(spans.back().last, quiet_last + 10) << "the speech did not come back when unmuted";
}

}  // namespace
}  // namespace chimewell
