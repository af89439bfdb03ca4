// The sound player and the WAV capture sink, listened to through the file they write.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/capture_fixture.h"
#include "platform/linux/open_audio_sink.h"
#include "platform/mixer_sound_player.h"

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
  // Both sounds back to back: the chime rings down to its last samples, so the loud span
  // covers the chime and the tone without the gap a late start would leave.
  EXPECT_GT(heard.Seconds(kMixRate), kChimeSeconds + 0.3 - 0.02);
  EXPECT_LT(heard.Seconds(kMixRate), kChimeSeconds + 0.3 + 0.15);
  EXPECT_GT(heard.peak, 10000);
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
  const auto image = EncodeWave(MakeTone(44100, 1, 30.0));
  std::thread purger([&player] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
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

TEST(AudioSinkTest, AnUnopenableDeviceFallsBackToSilenceWithOneMessage) {
  std::vector<std::string> messages;
  const auto opened = OpenAudioSink({AudioSinkSpec::Kind::kAlsa, "chimewell-no-such-device"},
                                    [&messages](const std::string& m) { messages.push_back(m); });
  ASSERT_TRUE(opened.sink);
  EXPECT_TRUE(opened.fell_back);
  EXPECT_EQ(opened.sink->Describe(), "null");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("chimewell-no-such-device"), std::string::npos);

  const auto bad_file = OpenAudioSink({AudioSinkSpec::Kind::kWav, "/nonexistent/dir/x.wav"},
                                      [&messages](const std::string& m) { messages.push_back(m); });
  EXPECT_TRUE(bad_file.fell_back);
  EXPECT_EQ(messages.size(), 2u);
}

}  // namespace
}  // namespace chimewell
