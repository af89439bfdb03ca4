// Speech through Open JTalk, listened to through the capture file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/capture_fixture.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/slow_engine.h"

namespace chimewell {
namespace {

using testing::Listen;

class SpeechTest : public testing::CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    speech_ = std::make_unique<OpenJTalkSpeech>(
        *mixer_, [this](const std::string& m) { reports_.push_back(m); });
    if (!speech_->Available()) GTEST_SKIP() << "Open JTalk is not installed";
  }
  void TearDown() override {
    speech_.reset();
    CaptureTest::TearDown();
  }
  // Waits (generously) until speech has fallen silent.
  bool WaitSilent(std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (speech_->Speaking() > 0) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  std::unique_ptr<OpenJTalkSpeech> speech_;
  std::vector<std::string> reports_;
};

TEST_F(SpeechTest, SpeaksATimeAloudAndReportsSpeakingUntilTheLastSample) {
  std::atomic<int> starts{0}, stops{0};
  speech_->SetAudioEvents([&] { ++starts; }, [&] { ++stops; });
  speech_->SpeakText("午後3時15分です");
  EXPECT_GT(speech_->Speaking(), 0);  // at once, while synthesis has hardly begun
  ASSERT_TRUE(WaitSilent());
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(stops, 1);
  const auto heard = Listen(Captured(), 0.02);
  EXPECT_GT(heard.Seconds(kMixRate), 1.0);
  EXPECT_LT(heard.Seconds(kMixRate), 5.0);
  EXPECT_GT(heard.peak, 3000);
  EXPECT_TRUE(reports_.empty());
}

// A time signal spoken on its moment: synthesized ahead, its first word heard on the moment
// (generous bounds: the machines that run this are shared), with no near-silence before it.
TEST_F(SpeechTest, APreparedTextStartsOnItsMomentWithItsLeadInTrimmed) {
  speech_->Prepare("午前零時です");
  const int64_t moment = Mixer::SystemWallNow().UnixMs() + 2500;
  speech_->SpeakTextAt("午前零時です", WallMoment::FromUnixMs(moment), std::nullopt);
  ASSERT_TRUE(WaitSilent());
  const PcmClip heard = Captured();
  EXPECT_NEAR(FirstAudibleFrom(heard, moment), 0.0, 30.0);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(SpeechTest, VolumeScalesTheVoice) {
  speech_->SetVolumeLeft(65535);
  speech_->SetVolumeRight(65535 / 4);
  speech_->SpeakText("テスト");
  ASSERT_TRUE(WaitSilent());
  const auto clip = Captured();
  int peak_left = 0, peak_right = 0;
  for (size_t f = 0; f < clip.Frames(); ++f) {
    peak_left = std::max(peak_left, std::abs(static_cast<int>(clip.samples[f * 2])));
    peak_right = std::max(peak_right, std::abs(static_cast<int>(clip.samples[f * 2 + 1])));
  }
  ASSERT_GT(peak_left, 2000);
  EXPECT_NEAR(static_cast<double>(peak_right) / peak_left, 0.25, 0.02);
}

TEST_F(SpeechTest, StopSpeechEndsSynthesisAndSpeechAtOnce) {
  speech_->SpeakText("これは止められる長い文章です。最後まで話されることはありません。");
  speech_->StopSpeech();
  EXPECT_EQ(speech_->Speaking(), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_EQ(speech_->Speaking(), 0);
  EXPECT_EQ(Listen(Captured()).loud_frames, 0u);
}

TEST_F(SpeechTest, ANewTextReplacesTheOneSounding) {
  speech_->SpeakText("これは途中で次の文章に置き換えられる、とても長い文章の最初の部分です");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  speech_->SpeakText("はい");
  EXPECT_GT(speech_->Speaking(), 0);
  ASSERT_TRUE(WaitSilent());
  // The long text alone lasts several seconds; what was heard is far shorter.
  EXPECT_LT(Listen(Captured(), 0.02).Seconds(kMixRate), 3.0);
}

TEST_F(SpeechTest, EveryUtteranceSpeaksAfterStopsAndReplacements) {
  std::atomic<int> starts{0};
  speech_->SetAudioEvents([&] { ++starts; }, nullptr);
  for (int i = 0; i < 4; ++i) {
    speech_->SpeakText("はい");
    ASSERT_TRUE(WaitSilent());
    speech_->SpeakText("いいえ");
    speech_->StopSpeech();
  }
  EXPECT_EQ(starts, 4);
  EXPECT_TRUE(reports_.empty()) << reports_[0];
}

// Desktops clean /tmp while the program runs for weeks.
TEST_F(SpeechTest, SpeaksOnAfterItsWorkFolderWasCleanedAway) {
  const std::string tmp = testing::TempPath("tmp");
  std::filesystem::create_directories(tmp);
  const char* old_tmp = std::getenv("TMPDIR");
  const std::string saved = old_tmp ? old_tmp : "";
  // The environment is changed only while no speech thread starts processes.
  speech_.reset();
  setenv("TMPDIR", tmp.c_str(), 1);
  speech_ = std::make_unique<OpenJTalkSpeech>(
      *mixer_, [this](const std::string& m) { reports_.push_back(m); });
  speech_->SpeakText("はい");
  ASSERT_TRUE(WaitSilent());
  for (const auto& entry : std::filesystem::directory_iterator(tmp)) {
    std::filesystem::remove_all(entry.path());
  }
  speech_->SpeakText("いいえ");
  ASSERT_TRUE(WaitSilent());
  speech_.reset();
  if (old_tmp) {
    setenv("TMPDIR", saved.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  std::filesystem::remove_all(tmp);
  EXPECT_TRUE(reports_.empty()) << reports_[0];  // a failed synthesis would be told
}

// Speech on an engine slowed down (a loaded machine) or hung.
class SlowEngineTest : public SpeechTest {
 protected:
  void UseEngine(double delay_seconds,
                 std::chrono::milliseconds limit = OpenJTalkSpeech::kSynthesisLimit) {
    script_ = testing::WriteSlowEngine("slow-engine", delay_seconds);
    speech_ = std::make_unique<OpenJTalkSpeech>(
        *mixer_, [this](const std::string& m) { reports_.push_back(m); },
        OpenJTalkSetup{script_, "", ""}, SystemSteadyTime(), limit);
  }
  void TearDown() override {
    SpeechTest::TearDown();
    std::remove(script_.c_str());
  }
  static int64_t NowMs() { return Mixer::SystemWallNow().UnixMs(); }
  // How far from `moment_ms` the first sound after the first `from_frame` frames was heard.
  double OnsetAfter(const PcmClip& heard, size_t from_frame, int64_t moment_ms) const {
    for (size_t i = from_frame * 2; i < heard.samples.size(); ++i) {
      if (std::abs(static_cast<int>(heard.samples[i])) >= kAudibleSample) {
        return static_cast<double>(timeline_->HeardAt(i / 2) - moment_ms * 1000) / 1000.0;
      }
    }
    return 1e9;
  }

  std::string script_;
};

// Every synthesis takes two seconds more: an announcement prepared beside other speech, or
// handed over while its preparation still runs, is still heard on its moment.
TEST_F(SlowEngineTest, SlowPreparationIsWaitedForAndRunsBesideOtherSpeech) {
  UseEngine(2.0);
  speech_->SpeakText("はい");
  speech_->Prepare("午後3時です");
  ASSERT_TRUE(WaitSilent());
  const size_t first_from = timeline_->Written();
  const int64_t first = NowMs() + 500;
  speech_->SpeakTextAt("午後3時です", WallMoment::FromUnixMs(first), std::nullopt);
  ASSERT_TRUE(WaitSilent());

  speech_->Prepare("午後4時です");
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const size_t second_from = timeline_->Written();
  const int64_t second = NowMs() + 1500;  // its preparation has most of a second to run
  speech_->SpeakTextAt("午後4時です", WallMoment::FromUnixMs(second), std::nullopt);
  ASSERT_TRUE(WaitSilent());
  const PcmClip heard = Captured();
  EXPECT_NEAR(OnsetAfter(heard, first_from, first), 0.0, 30.0);
  EXPECT_NEAR(OnsetAfter(heard, second_from, second), 0.0, 30.0);
  EXPECT_TRUE(reports_.empty());
}

// Its synthesis outlasts the latest start it was given (as a sleep would): dropped unheard.
TEST_F(SlowEngineTest, SpeechThatCannotStartByItsLatestStartIsDroppedUnheard) {
  UseEngine(1.0);
  const int64_t moment = NowMs() + 100;
  speech_->SpeakTextAt("午後3時です", WallMoment::FromUnixMs(moment),
                       WallMoment::FromUnixMs(moment + 300));
  ASSERT_TRUE(WaitSilent());
  EXPECT_EQ(speech_->PassedOverCount(), 1u);
  EXPECT_EQ(Listen(Captured()).loud_frames, 0u);
}

TEST_F(SlowEngineTest, AHungSynthesisIsKilledReportedOnceAndSpeechGoesOn) {
  UseEngine(0.0, std::chrono::milliseconds(1000));
  const std::string hung = std::string("これは") + testing::kHangMarker + "文章です";
  speech_->SpeakText(hung);
  ASSERT_TRUE(WaitSilent(std::chrono::seconds(10)));
  // Prepared and then handed over: the watchdog ends the preparation, and the hand-over
  // gives the text up rather than trying it once more.
  speech_->Prepare(hung + "。");
  const auto start = std::chrono::steady_clock::now();
  speech_->SpeakTextAt(hung + "。", WallMoment::FromUnixMs(NowMs() + 100), std::nullopt);
  ASSERT_TRUE(WaitSilent(std::chrono::seconds(10)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
  speech_->SpeakText("午後3時です");
  ASSERT_TRUE(WaitSilent());
  EXPECT_GT(Listen(Captured(), 0.02).Seconds(kMixRate), 0.5);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("打ち切り"), std::string::npos);
}

TEST(SpeechSetupTest, AMissingVoiceIsReportedOnceAndNothingSpeaks) {
  Mixer mixer(MakeNullSink());
  std::vector<std::string> reports;
  OpenJTalkSpeech speech(mixer, [&](const std::string& m) { reports.push_back(m); },
                         {"", "", "/nonexistent/voice.htsvoice"});
  EXPECT_FALSE(speech.Available());
  speech.SpeakText("こんにちは");
  EXPECT_EQ(speech.Speaking(), 0);
  speech.SpeakText("こんにちは");
  ASSERT_EQ(reports.size(), 1u);

  OpenJTalkSpeech no_engine(mixer, [&](const std::string& m) { reports.push_back(m); },
                            {"/nonexistent/open_jtalk", "", ""});
  no_engine.SpeakText("こんにちは");
  EXPECT_EQ(no_engine.Speaking(), 0);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[1].find("Open JTalk"), std::string::npos);
}

TEST(SpeechSetupTest, LongTextIsCutIntoLinesAtPunctuation) {
  EXPECT_EQ(SplitForOpenJTalk("一行目\n二行目"), std::vector<std::string>{"一行目 二行目"});
  EXPECT_TRUE(SplitForOpenJTalk(" \r\n ").empty());
  EXPECT_TRUE(SplitForOpenJTalk("\u3000").empty());  // the start-up greeting says nothing
  EXPECT_TRUE(SplitForOpenJTalk("「。、」！").empty());
  EXPECT_EQ(SplitForOpenJTalk("\u3000あ"), std::vector<std::string>{"\u3000あ"});
  std::string text;
  for (int i = 0; i < 100; ++i) text += "今日は晴れです。";  // 24 bytes each
  const auto pieces = SplitForOpenJTalk(text, 100);
  std::string joined;
  for (const auto& p : pieces) {
    EXPECT_LE(p.size(), 100u);
    EXPECT_EQ(p.substr(p.size() - 3), "。");
    joined += p;
  }
  EXPECT_EQ(joined, text);
  // No punctuation: cut at a character boundary, never inside one.
  std::string wide;
  for (int i = 0; i < 100; ++i) wide += "あ";
  for (const auto& p : SplitForOpenJTalk(wide, 100)) EXPECT_EQ(p.size() % 3, 0u);
}

}  // namespace
}  // namespace chimewell
