// A voice set made by chimewell-tool voiceset, announced and heard through the capture sink.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/wave_file.h"
#include "support/temp_dir.h"
#include "timesignal/voice_lists.h"
#include "tool_runner.h"

namespace chimewell {
namespace {

using testing::RunTool;

std::vector<int16_t> LeftChannel(const PcmClip& clip) {
  std::vector<int16_t> left;
  for (size_t i = 0; i < clip.samples.size(); i += static_cast<size_t>(clip.channels)) {
    left.push_back(clip.samples[i]);
  }
  return left;
}

// Where `word` sounds in `heard`, searching from `from`: a stretch of its first loud samples
// must match (the mixer may round by a step); npos when it is not there.
size_t Find(const std::vector<int16_t>& heard, const std::vector<int16_t>& word, size_t from) {
  size_t loud = 0;
  while (loud < word.size() && std::abs(word[loud]) < 1000) ++loud;
  const size_t length = std::min<size_t>(480, word.size() - loud);
  if (length < 100) return std::string::npos;
  for (size_t at = from; at + length <= heard.size(); ++at) {
    bool same = true;
    for (size_t k = 0; k < length && same; ++k)
      same = std::abs(heard[at + k] - word[loud + k]) <= 2;
    if (same) return at - loud;
  }
  return std::string::npos;
}

TEST(VoiceSetTool, AnnouncementOfAMadeSetIsHeardInOrder) {
  testing::TempDir dir;
  const std::string set = (dir / "set").string();
  const auto made = RunTool("voiceset --type 1 --out '" + set + "'");
  ASSERT_EQ(made.exit_code, 0) << made.err;
  for (const std::string& name : VoiceList(1)) {
    EXPECT_TRUE(std::filesystem::exists(dir / "set" / name)) << name;
  }

  const std::string capture = (dir / "heard.wav").string();
  const auto played =
      RunTool("jiho --type 1 --folder '" + set +
              "' --at '2024/03/03 15:00:00' --play --audio 'wav:" + capture + "' default");
  ASSERT_EQ(played.exit_code, 0) << played.err;
  EXPECT_EQ(played.out, "GOGO.WAV\nSAN.WAV\nJI.WAV\nDA.WAV\n");
  EXPECT_EQ(played.err, "");

  const auto heard = LoadWaveFile(capture);
  ASSERT_TRUE(heard.has_value());
  const std::vector<int16_t> left = LeftChannel(*heard);
  size_t from = 0;
  for (const char* name : {"GOGO.WAV", "SAN.WAV", "JI.WAV", "DA.WAV"}) {
    const auto word = LoadWaveFile((dir / "set" / name).string());
    ASSERT_TRUE(word.has_value()) << name;
    ASSERT_EQ(word->sample_rate, heard->sample_rate) << "compare without resampling";
    const size_t at = Find(left, word->samples, from);
    ASSERT_NE(at, std::string::npos) << name << " not heard after sample " << from;
    from = at + word->samples.size() - 1;
  }
}

TEST(VoiceSetTool, EveryTypeGetsEveryFileAndTonesAreTones) {
  testing::TempDir dir;
  const auto made = RunTool("voiceset --type 4 --out '" + (dir / "four").string() + "'");
  ASSERT_EQ(made.exit_code, 0) << made.err;
  for (const std::string& name : VoiceList(4)) {
    const auto clip = LoadWaveFile((dir / "four" / name).string());
    ASSERT_TRUE(clip.has_value()) << name;
    EXPECT_GT(clip->Seconds(), 0.02) << name;
  }
  const auto pon = LoadWaveFile((dir / "four" / "pon.wav").string());
  EXPECT_NEAR(pon->Seconds(), 1.0, 0.01);
}

TEST(VoiceSetTool, UsageErrorsExitWithTwo) {
  for (const char* args :
       {"voiceset --out /tmp/x", "voiceset --type 0 --out /tmp/x", "voiceset --type 6 --out /tmp/x",
        "voiceset --type 1", "voiceset --type 1 --out", "voiceset --type 1 --out /tmp/x extra"}) {
    const auto r = RunTool(args);
    EXPECT_EQ(r.exit_code, 2) << args;
    EXPECT_EQ(r.out, "") << args;
  }
}

}  // namespace
}  // namespace chimewell
