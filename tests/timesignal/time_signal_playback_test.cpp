// The time signal on the real playback workers (fake sound player, virtual time).
#include <gmock/gmock.h>

#include "playback/playback_fixture.h"
#include "support/memory_file_system.h"
#include "timesignal/time_signal.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

// Connects the time signal to the workers the way the application does.
class PlaybackOutput final : public TimeSignalOutput {
 public:
  PlaybackOutput(Playback& playback, Log& log, std::vector<std::string>& panel)
      : playback_(playback), log_(log), panel_(panel) {}
  bool IsTimeSignalQueued() const override { return playback_.IsTimeSignalQueued(); }
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int repeat,
                     std::optional<WallMoment> start_at) override {
    playback_.SetTimeSignal(image, fragments, repeat, start_at);
  }
  void SetMessageCount(const std::string& text, int volume, int count,
                       std::optional<WallMoment> start_at) override {
    playback_.SetMessageCount(text, volume, count, start_at);
  }
  void EnableSkip() override {}  // queuing a time signal enables Skip
  void AddLogLine(const std::string& text) override { log_.AddLogLine(text); }
  void ShowPanelMessage(const std::string& text) override { panel_.push_back(text); }

 private:
  Playback& playback_;
  Log& log_;
  std::vector<std::string>& panel_;
};

class TimeSignalOnPlaybackTest : public testing::PlaybackTest {
 protected:
  TimeSignalOnPlaybackTest() {
    for (const std::string& name : VoiceList(1)) {
      const auto image = testing::FakeSoundPlayer::MakeImage(name);
      files.Add("v/" + name, std::string(image.begin(), image.end()));
    }
    jiho.Type = 1;
    jiho.Folder = "v";
    time_signal.LoadTimeSignalSettings(jiho);
  }

  std::vector<std::string> Played() const {
    std::vector<std::string> played;
    for (const auto& call : sound.Plays()) played.push_back(call.what);
    return played;
  }

  testing::MemoryFileSystem files;
  std::vector<std::string> panel;
  PlaybackOutput output{playback, log, panel};
  JihoSettings jiho;
  TimeSignal time_signal{files, output};
};

TEST_F(TimeSignalOnPlaybackTest, PlaysTheFragmentsInOrderAndDropsASecondSignal) {
  const TDateTime three_pm = *TryEncodeDateTime({2025, 12, 9, 15, 0, 0, 0});
  Batch([&] {
    EXPECT_TRUE(time_signal.PlayTimeSignal("default", 1, three_pm).queued);
    // A second time signal due on the same tick finds the first queued.
    EXPECT_TRUE(time_signal.PlayTimeSignal("[hour]", 1, three_pm).dropped);
    // Reloading meanwhile must not take the bytes from under the queued signal.
    jiho.Type = 0;
    time_signal.LoadTimeSignalSettings(jiho);
  });
  Run(10000);
  EXPECT_THAT(Played(),
              ElementsAre("memory:GOGO.WAV", "memory:SAN.WAV", "memory:JI.WAV", "memory:DA.WAV"));
  EXPECT_THAT(LogTexts(), Contains("Set[Time]Thread default repeat:1"));
  EXPECT_TRUE(panel.empty());
}

TEST_F(TimeSignalOnPlaybackTest, AnAbsentFileSoundsAsTheBuiltInChime) {
  files.Remove("v/JI.WAV");
  time_signal.LoadTimeSignalSettings(jiho);
  time_signal.PlayTimeSignal("[hour]", 1, *TryEncodeDateTime({2025, 12, 9, 3, 0, 0, 0}));
  Run(10000);
  EXPECT_THAT(Played(), ElementsAre("memory:SAN.WAV", "builtin"));
}

}  // namespace
}  // namespace chimewell
