#pragma once
// Connects the time signal to the playback workers, the log and the message panel.
#include <functional>
#include <string>

#include "core/log.h"
#include "playback/playback.h"
#include "timesignal/time_signal_output.h"

namespace chimewell {

class PlaybackTimeSignalOutput final : public TimeSignalOutput {
 public:
  using PanelFn = std::function<void(const std::string&)>;

  // `show_panel` is the application's ShowPanelMessage.
  PlaybackTimeSignalOutput(Playback& playback, Log& log, PanelFn show_panel)
      : playback_(playback), log_(log), show_panel_(std::move(show_panel)) {}

  bool IsTimeSignalQueued() const override { return playback_.IsTimeSignalQueued(); }
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int repeat) override {
    playback_.SetTimeSignal(image, fragments, repeat);
  }
  void SetMessageCount(const std::string& text, int volume, int count) override {
    playback_.SetMessageCount(text, volume, count);
  }
  // Queuing a time signal enables Skip in the playback already.
  void EnableSkip() override {}
  void AddLogLine(const std::string& text) override { log_.AddLogLine(text); }
  void ShowPanelMessage(const std::string& text) override {
    if (show_panel_) show_panel_(text);
  }

 private:
  Playback& playback_;
  Log& log_;
  PanelFn show_panel_;
};

}  // namespace chimewell
