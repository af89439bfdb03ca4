#pragma once
// A time-signal output that records what it is handed.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "timesignal/time_signal_output.h"

namespace chimewell::testing {

struct RecordingOutput final : TimeSignalOutput {
  struct Signal {
    SharedVoiceImage image;
    std::vector<int32_t> fragments;
    int repeat;
  };
  struct Message {
    std::string text;
    int volume;
    int count;
  };

  bool queued = false;  // what IsTimeSignalQueued answers
  std::vector<Signal> signals;
  std::vector<Message> messages;
  int skip_enabled = 0;
  std::vector<std::string> log;
  std::vector<std::string> panel;

  bool IsTimeSignalQueued() const override { return queued; }
  void SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int repeat,
                     std::optional<WallMoment> /*start_at*/) override {
    signals.push_back({std::move(image), std::move(fragments), repeat});
  }
  void SetMessageCount(const std::string& text, int volume, int count,
                       std::optional<WallMoment> /*start_at*/) override {
    messages.push_back({text, volume, count});
  }
  void EnableSkip() override { ++skip_enabled; }
  void AddLogLine(const std::string& text) override { log.push_back(text); }
  void ShowPanelMessage(const std::string& text) override { panel.push_back(text); }
};

}  // namespace chimewell::testing
