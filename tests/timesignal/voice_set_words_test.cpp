// What the made voice sets say for each file name.
#include "timesignal/voice_set_words.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

std::string Said(int type, std::string_view name) {
  const VoiceFileContent content = VoiceFileContentFor(type, name);
  EXPECT_EQ(content.kind, VoiceFileContent::Kind::kSpeech) << name;
  return content.text;
}

TEST(VoiceSetWords, EveryFileOfEverySetHasContent) {
  for (int type = 1; type <= 5; ++type) {
    for (const std::string& name : VoiceSetNames(type)) {
      const VoiceFileContent content = VoiceFileContentFor(type, name);
      if (content.kind == VoiceFileContent::Kind::kSpeech) {
        EXPECT_FALSE(content.text.empty()) << type << " " << name;
      } else {
        EXPECT_GT(content.seconds, 0) << type << " " << name;
      }
    }
  }
}

TEST(VoiceSetWords, NamesSayTheirWords) {
  EXPECT_EQ(Said(1, "GOZEN.WAV"), "午前");
  EXPECT_EQ(Said(1, "HATIHUN.WAV"), "8分");
  EXPECT_EQ(Said(2, "28_3月.wav"), "3月");
  EXPECT_EQ(Said(2, "105_5H.wav"), "5時");
  EXPECT_EQ(Said(2, "129_05.wav"), "5分");
  EXPECT_EQ(Said(2, "184_60.wav"), "ちょうど");
  EXPECT_EQ(Said(2, "12_今日もﾌｧｲﾄ.wav"), "今日もﾌｧｲﾄ");
  EXPECT_EQ(Said(3, "21.WAV"), "トゥエンティワン");
  EXPECT_EQ(Said(3, "03HPM.WAV"), "スリーピーエム");
  EXPECT_EQ(Said(3, "024AM.WAV"), "フォーエーエム");
  EXPECT_EQ(Said(3, "07M.WAV"), "セブン");
  EXPECT_EQ(Said(4, "10.wav"), "ジュウ");
  EXPECT_EQ(Said(4, "40.wav"), "ヨンジュウ");
  EXPECT_EQ(Said(4, "08ji.wav"), "8時");
  EXPECT_EQ(Said(4, "tyoudo.wav"), "ちょうど");
  EXPECT_EQ(Said(5, "o12.WAV"), "12時");
  EXPECT_EQ(Said(5, "TM30.WAV"), "サンジュウ");
  EXPECT_EQ(Said(5, "M5.WAV"), "5分");
}

TEST(VoiceSetWords, TonesAreRealTones) {
  const VoiceFileContent dtmf = VoiceFileContentFor(4, "DTMF1.wav");
  EXPECT_EQ(dtmf.kind, VoiceFileContent::Kind::kTone);
  EXPECT_EQ(dtmf.frequencies, (std::vector<double>{697, 1209}));
  EXPECT_EQ(VoiceFileContentFor(4, "pon.wav").frequencies, std::vector<double>{880});
  EXPECT_EQ(VoiceFileContentFor(5, "BLANK.WAV").kind, VoiceFileContent::Kind::kSilence);
}

}  // namespace
}  // namespace chimewell
