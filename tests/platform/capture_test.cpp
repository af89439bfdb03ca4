// The sound player and the WAV capture sink, listened to through the file they write.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <thread>

#include "platform/capture_fixture.h"
#include "platform/encoded_sound.h"
#include "platform/linux/open_audio_sink.h"
#include "platform/mixer_sound_player.h"
#include "timesignal/tool_runner.h"

namespace chimewell {
namespace {

using testing::Listen;
using testing::MakeTone;
constexpr double kChimeSeconds = 1787.0 / 11025;

class SoundPlayerTest : public testing::CaptureTest {};

TEST_F(SoundPlayerTest, PlaysTheChimeAndAFileAndWaitsForEach) {
  MixerSoundPlayer player(*mixer_);
  player.PlayBuiltIn();
  const std::string file = testing::TempPath("tone.wav");
  testing::WriteBytes(file, EncodeWave(MakeTone(22050, 2, 0.3, 1000.0)));
  player.PlayFile(file);
  std::remove(file.c_str());
  const auto heard = Listen(Captured());
  // One after the other, each whole: the loud span holds both without overlap (the file
  // starts once it is loaded, so how long the gap is depends on the machine), and the loud
  // frames add up to the two sounds and no more.
  EXPECT_GT(heard.Seconds(kMixRate), kChimeSeconds + 0.3 - 0.02);
  EXPECT_LT(static_cast<double>(heard.loud_frames) / kMixRate, kChimeSeconds + 0.3 + 0.02);
  EXPECT_GT(heard.peak, 10000);
}

// Sign changes of the first channel between two frames: twice the frequency per second of tone.
size_t ZeroCrossings(const PcmClip& clip, size_t first, size_t last) {
  size_t n = 0;
  for (size_t f = first + 1; f <= last; ++f) {
    const auto a = clip.samples[(f - 1) * clip.channels], b = clip.samples[f * clip.channels];
    if ((a < 0) != (b < 0)) ++n;
  }
  return n;
}

// The program and `chimewell-tool play` decode alike: each format is heard whole at its pitch
// through both.
TEST(CompressedSoundTest, FlacOggOpusAndMp3FilesAreHeardAtTheirPitch) {
  const struct {
    const char* name;
    int format;
    int rate;
  } kFormats[] = {
      {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100},
      {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100},
      {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000},
      {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100},
  };
  for (const auto& f : kFormats) {
    SCOPED_TRACE(f.name);
    const std::string file = testing::TempPath(std::string("tone.") + f.name);
    const std::string capture = testing::TempPath(std::string("heard-") + f.name + ".wav");
    ASSERT_TRUE(testing::WriteEncoded(file, MakeTone(f.rate, 2, 0.5, 1000.0), f.format));
    {
      Mixer mixer(MakeWavFileSink(capture));
      mixer.Start();
      MixerSoundPlayer(mixer).PlayFile(file);
    }
    const auto by_program = LoadWaveFile(capture);
    const auto tool = testing::RunTool("play '" + file + "' --audio 'wav:" + capture + "'");
    EXPECT_EQ(tool.exit_code, 0) << tool.err;
    const auto by_tool = LoadWaveFile(capture);
    std::remove(file.c_str());
    std::remove(capture.c_str());
    for (const auto& heard_clip : {by_program, by_tool}) {
      ASSERT_TRUE(heard_clip);
      const auto heard = Listen(*heard_clip, 0.05);
      EXPECT_NEAR(heard.Seconds(kMixRate), 0.5, 0.06);  // encoders pad a little
      EXPECT_GT(heard.peak, 12000);
      const double crossings =
          static_cast<double>(ZeroCrossings(*heard_clip, heard.first, heard.last));
      EXPECT_NEAR(crossings / heard.Seconds(kMixRate), 2000.0, 40.0);
    }
  }
}

// A recorded word placed on a moment: its quiet edge is not what lands there, the word is.
TEST_F(SoundPlayerTest, AWordPlacedOnAMomentIsHeardThere) {
  PcmClip word = testing::MakeTone(kMixRate, 1, 0.3);
  word.samples.insert(word.samples.begin(), kMixRate / 50, 3);  // 20 ms of near-silence
  const auto image = EncodeWave(word);
  const int64_t moment = Mixer::SystemWallNow().UnixMs() + 1000;
  MixerSoundPlayer(*mixer_).PlayMemoryAt(image, WallMoment::FromUnixMs(moment), std::nullopt);
  EXPECT_NEAR(FirstAudibleFrom(Captured(), moment), 0.0, 30.0);
}

TEST_F(SoundPlayerTest, AnUnplayableSoundGivesTheChime) {
  MixerSoundPlayer player(*mixer_);
  player.PlayFile("/nonexistent/sound.wav");
  const std::vector<uint8_t> junk = {'R', 'I', 'F', 'F', 1, 2, 3};
  player.PlayMemory(junk);
  const auto heard = Listen(Captured());
  // Two chimes: about twice the chime's length of sound, and nothing near a long file's.
  EXPECT_GT(heard.loud_frames, static_cast<size_t>(1.5 * kChimeSeconds * kMixRate));
  EXPECT_LT(heard.Seconds(kMixRate), 1.0);
}

TEST_F(SoundPlayerTest, PurgeFromAnotherThreadCutsASynchronousPlayShort) {
  MixerSoundPlayer player(*mixer_);
  const auto image = EncodeWave(MakeTone(kMixRate, 1, 30.0));
  // The purge comes once the sound is heard in the capture (which can be read as it grows).
  std::thread purger([this, &player] {
    for (int i = 0; i < 3000; ++i) {
      const auto partial = LoadWaveFile(path_);
      if (partial && Listen(*partial).loud_frames > 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    player.Purge();
  });
  const auto start = std::chrono::steady_clock::now();
  player.PlayMemory(image);
  const auto took = std::chrono::steady_clock::now() - start;
  purger.join();
  EXPECT_LT(took, std::chrono::seconds(20));  // far short of the 30 s it would take
  const auto heard = Listen(Captured());
  EXPECT_GT(heard.loud_frames, 0u);
  EXPECT_LT(heard.Seconds(kMixRate), 20.0);
}

TEST(AudioSinkTest, ACaptureFileIsReadableWhileItGrows) {
  const std::string path = testing::TempPath("growing.wav");
  Mixer mixer(MakeWavFileSink(path));
  mixer.Start();
  mixer.Play(MixChannel::kSound, std::make_shared<const PcmClip>(MakeTone(kMixRate, 1, 0.3)))
      ->Wait();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto partial = LoadWaveFile(path);
  ASSERT_TRUE(partial);
  EXPECT_GT(partial->Seconds(), 0.1);
  mixer.Stop();
  std::remove(path.c_str());
}

TEST(AudioSinkTest, AnUnopenableDeviceIsToldOnceAndKeptForRetries) {
  std::vector<std::string> messages;
  const auto opened = OpenAudioSink({AudioSinkSpec::Kind::kAlsa, "chimewell-no-such-device"},
                                    [&messages](const std::string& m) { messages.push_back(m); });
  ASSERT_TRUE(opened.sink);
  EXPECT_FALSE(opened.fell_back);
  EXPECT_EQ(opened.sink->Describe(), "alsa:chimewell-no-such-device");
  EXPECT_EQ(messages, std::vector<std::string>{"サウンド出力が使えません"});

  const auto bad_file = OpenAudioSink({AudioSinkSpec::Kind::kWav, "/nonexistent/dir/x.wav"},
                                      [&messages](const std::string& m) { messages.push_back(m); });
  EXPECT_TRUE(bad_file.fell_back);
  EXPECT_EQ(messages.size(), 2u);
}

}  // namespace
}  // namespace chimewell
