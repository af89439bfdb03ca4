#include "platform/wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "platform/audio_test_support.h"
#include "platform/builtin_chime.h"
#include "platform/encoded_sound.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

// A WAVE image with a hand-made fmt chunk, for formats EncodeWave does not write.
std::vector<uint8_t> Image(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                           const std::vector<uint8_t>& data,
                           const std::vector<uint8_t>& extra = {}) {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  const auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  // Byte by byte: GCC 12 at -O3 takes a range insert into this vector for an overflow.
  for (uint8_t byte : extra) out.push_back(byte);
  for (char c : {'f', 'm', 't', ' '}) out.push_back(static_cast<uint8_t>(c));
  put(16, 4);
  put(tag, 2);
  put(channels, 2);
  put(rate, 4);
  put(rate * channels * bits / 8, 4);
  put(channels * bits / 8, 2);
  put(bits, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  put(static_cast<uint32_t>(data.size()), 4);
  out.insert(out.end(), data.begin(), data.end());
  const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
  std::memcpy(out.data() + 4, &riff, 4);
  return out;
}

TEST(WaveFileTest, DecodesEachSampleFormatToSixteenBit) {
  const auto u8 = ParseWave(Image(1, 1, 11025, 8, {0x80, 0xFF, 0x00}));
  ASSERT_TRUE(u8);
  EXPECT_EQ(u8->sample_rate, 11025);
  EXPECT_EQ(u8->channels, 1);
  EXPECT_EQ(u8->samples, (std::vector<int16_t>{0, 127 << 8, -32768}));

  const auto s24 = ParseWave(Image(1, 2, 44100, 24, {0x00, 0x34, 0x12, 0xFF, 0xFF, 0xFF}));
  ASSERT_TRUE(s24);
  EXPECT_EQ(s24->samples, (std::vector<int16_t>{0x1234, -1}));

  std::vector<uint8_t> floats(8);
  const float f[2] = {0.5f, -2.0f};  // out of range clamps
  std::memcpy(floats.data(), f, 8);
  const auto fl = ParseWave(Image(3, 1, 8000, 32, floats));
  ASSERT_TRUE(fl);
  EXPECT_EQ(fl->samples, (std::vector<int16_t>{16384, -32768}));

  // WAVE_FORMAT_EXTENSIBLE: the same PCM, described by a sub-format GUID.
  std::vector<uint8_t> ext = Image(0xFFFE, 1, 16000, 16, {0x34, 0x12, 0xCC, 0xED});
  const std::vector<uint8_t> tail = {22, 0, 16,   0, 4,    0, 0, 0,    1, 0,    0,    0,
                                     0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  ext[16] = 40;  // fmt chunk of 40 bytes
  ext.insert(ext.begin() + 36, tail.begin(), tail.end());
  const uint32_t riff = static_cast<uint32_t>(ext.size() - 8);
  std::memcpy(ext.data() + 4, &riff, 4);
  const auto extensible = ParseWave(ext);
  ASSERT_TRUE(extensible);
  EXPECT_EQ(extensible->sample_rate, 16000);
  EXPECT_EQ(extensible->samples, (std::vector<int16_t>{0x1234, -0x1234}));
}

TEST(WaveFileTest, KeepsTheFirstTwoOfManyChannels) {
  const auto clip = ParseWave(Image(1, 3, 8000, 16, {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0}));
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->channels, 2);
  EXPECT_EQ(clip->samples, (std::vector<int16_t>{1, 2, 4, 5}));
}

TEST(WaveFileTest, RoundTripsAndSkipsUnknownOddSizedChunks) {
  const auto tone = testing::MakeTone(22050, 2, 0.01);
  const auto back = ParseWave(EncodeWave(tone));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->samples, tone.samples);

  // An odd-sized chunk before fmt is padded to an even length.
  const auto with_list =
      ParseWave(Image(1, 1, 8000, 16, {7, 0}, {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0}));
  ASSERT_TRUE(with_list);
  EXPECT_EQ(with_list->samples, std::vector<int16_t>{7});
}

TEST(WaveFileTest, RejectsWhatCannotBePlayed) {
  const std::vector<uint8_t> pcm = {0, 0, 1, 0};
  EXPECT_FALSE(ParseWave(Image(1, 0, 8000, 16, pcm)));     // no channels
  EXPECT_FALSE(ParseWave(Image(1, 1, 0, 16, pcm)));        // no rate
  EXPECT_FALSE(ParseWave(Image(1, 1, 1000000, 16, pcm)));  // absurd rate
  auto truncated = Image(1, 1, 8000, 16, pcm);
  truncated.pop_back();
  EXPECT_FALSE(ParseWave(truncated));
  auto no_fmt = Image(1, 1, 8000, 16, pcm);
  std::memcpy(no_fmt.data() + 12, "junk", 4);
  EXPECT_FALSE(ParseWave(no_fmt));
  EXPECT_FALSE(ParseWave({}));
  EXPECT_FALSE(LoadWaveFile("/nonexistent/x.wav"));
}

// Random, truncated and mutated images: the decoder must answer without reading outside the
// image (the sanitizers catch any stray read) and never claim far more samples than the bytes
// can hold.
TEST(WaveFileTest, SurvivesArbitraryBytes) {
  std::mt19937 rng(12345);
  const auto valid = Image(1, 2, 44100, 16, std::vector<uint8_t>(64, 0x11));
  for (size_t n = 0; n <= valid.size(); ++n) {
    const std::vector<uint8_t> prefix(valid.begin(), valid.begin() + static_cast<long>(n));
    const auto clip = ParseWave(prefix);
    EXPECT_EQ(clip.has_value(), n == valid.size()) << n;
  }
  for (int round = 0; round < 20000; ++round) {
    std::vector<uint8_t> bytes = valid;
    if (round % 4 == 0) {
      bytes.resize(rng() % 128);
      for (auto& b : bytes) b = static_cast<uint8_t>(rng());
      if (bytes.size() >= 12 && round % 8 == 0) {
        std::memcpy(bytes.data(), "RIFF", 4);
        std::memcpy(bytes.data() + 8, "WAVE", 4);
      }
    } else {
      for (int k = 0; k < 1 + round % 5; ++k)
        bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
      bytes.resize(bytes.size() - rng() % 16);
    }
    const auto clip = ParseWave(bytes);
    if (clip) {
      // Compressed sample formats (ADPCM, GSM) give a few samples per byte, never more.
      EXPECT_LE(clip->samples.size(), 8 * bytes.size());
    }
  }
}

// An MP3's length in the header is the library's estimate from the bit rate: a tag or trailing
// bytes make it longer than what decodes. Such a file plays; a WAVE file cut short does not.
TEST(WaveFileTest, AnMp3ShorterThanItsEstimatePlaysButACutWaveDoesNot) {
  const PcmClip tone = testing::MakeTone(44100, 1, 0.6);
  const testing::TempDir dir;
  ASSERT_TRUE(
      testing::WriteEncoded(dir / "tone.mp3", tone, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III));
  const std::string bytes = testing::ReadBytes(dir / "tone.mp3");
  std::vector<uint8_t> mp3(bytes.begin(), bytes.end());
  // Without the encoder's length tag (not every encoder writes one) the length is guessed from
  // the file size, and bytes that are no MPEG frame, as an ID3 tag at the end, add to it.
  for (const char* magic : {"Xing", "Info"}) {
    const auto at = std::search(mp3.begin(), mp3.end(), magic, magic + 4);
    if (at != mp3.end()) std::memcpy(&*at, "none", 4);
  }
  std::vector<uint8_t> id3(128, 0x20);
  std::memcpy(id3.data(), "TAG", 3);
  mp3.insert(mp3.end(), id3.begin(), id3.end());
  const auto clip = ParseWave(mp3);
  ASSERT_TRUE(clip);
  EXPECT_NEAR(testing::Listen(*clip, 0.1).Seconds(44100), 0.6, 0.03);

  std::vector<uint8_t> wave = EncodeWave(tone);
  wave.resize(wave.size() - 100);
  EXPECT_FALSE(ParseWave(wave));
}

TEST(BuiltInChimeTest, IsAnEightBitMonoChimeOf1787Samples) {
  const auto image = BuiltInChimeImage();
  ASSERT_GE(image.size(), 44u);
  EXPECT_EQ(image[34], 8);  // bits per sample
  const auto clip = ParseWave(image);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->sample_rate, 11025);
  EXPECT_EQ(clip->channels, 1);
  EXPECT_EQ(clip->Frames(), 1787u);
  const auto heard = testing::Listen(*clip, 0.05);
  EXPECT_GT(heard.peak, 16000);
  EXPECT_LT(heard.first, 100u);                    // starts at once
  EXPECT_GT(heard.last, 1787u / 2);                // and rings for most of its length
  EXPECT_LT(std::abs(clip->samples.back()), 512);  // ends at rest, without a click
}

}  // namespace
}  // namespace chimewell
