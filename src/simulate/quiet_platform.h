#pragma once
// Platform pieces that do nothing: a window nobody sees, silent sound, speech and music, no
// fonts and no shell. For running the application where only its decisions matter.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/app_view.h"
#include "display/canvas.h"
#include "platform/font_catalog.h"
#include "platform/midi_library.h"
#include "platform/shell.h"
#include "platform/sound_player.h"
#include "platform/speech_control.h"

namespace chimewell {

class NullCanvas final : public Canvas {
 public:
  int Width() const override { return 391; }
  int Height() const override { return 287; }
  void FillRect(int, int, int, int, Colour) override {}
  void DrawLine(int, int, int, int, Colour) override {}
  void SetFontFace(std::string_view, int) override {}
  void SetFontSize(int) override {}
  void SetFontStyle(bool, bool) override {}
  void SetTextColour(Colour) override {}
  void SetTextBackground(Colour) override {}
  int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 8; }
  void TextOut(int, int, std::string_view) override {}
};

// Remembers only whether it shows.
class QuietView final : public AppView {
 public:
  explicit QuietView(bool showing) : showing_(showing) {}
  bool IsShowing() const override { return showing_; }
  void ShowWindow() override { showing_ = true; }
  void HideWindow() override { showing_ = false; }
  void CloseWindow() override { showing_ = false; }
  void ProcessPendingEvents() override {}
  WindowBounds Bounds() const override { return {}; }
  void SetBounds(const WindowBounds&) override {}
  Canvas& ClockCanvas() override { return canvas_; }
  void PresentClock() override {}
  void SetStatusText(const std::string&) override {}
  void SetStatusVisible(bool) override {}
  void ShowMessagePanel(const std::string&) override {}
  void HideMessagePanel() override {}
  void SetAboutPanel(bool, bool) override {}
  bool AboutPanelVisible() const override { return false; }
  void SetPortEditText(const std::string&) override {}
  std::string PortEditText() const override { return {}; }
  void SetVersionText(const std::string&) override {}
  void SetAuthorLinkActive(bool) override {}
  void SetSkipEnabled(bool) override {}
  void SetLipsViewVisible(bool) override {}
  void MenuStateChanged() override {}

 private:
  bool showing_;
  NullCanvas canvas_;
};

class QuietSound final : public SoundPlayer {
 public:
  void Purge() override {}
  void PlayMemory(std::span<const uint8_t>) override {}
  void PlayBuiltIn() override {}
  void PlayFile(const std::string&) override {}
};

class QuietSpeech final : public SpeechControl {
 public:
  void SpeakText(const std::string&) override {}
  void StopSpeech() override {}
  int16_t Speaking() const override { return 0; }
  void SetVolumeLeft(uint32_t) override {}
  void SetVolumeRight(uint32_t) override {}
};

class QuietMidi final : public MidiLibrary {
 public:
  int32_t KBGMOpen(int32_t, int32_t) override { return 0; }
  int32_t KBGMLoadFile(int32_t* handle, const std::string&) override {
    *handle = 1;
    return 0;
  }
  int32_t KBGMPlay(int32_t, int32_t) override { return 0; }
  int32_t KBGMGetInfo(int32_t, KbgmInfo* info) override {
    info->playing = 0;
    return 0;
  }
  int32_t KBGMSetVolume(int32_t, int32_t) override { return 0; }
  int32_t KBGMStop() override { return 0; }
  int32_t KBGMFree(int32_t) override { return 0; }
  int32_t KBGMClose() override { return 0; }
};

class NoFonts final : public FontCatalog {
 public:
  std::vector<FontFamilyInfo> Families() const override { return {}; }
  std::optional<FontFamilyInfo> Find(std::string_view) const override { return std::nullopt; }
};

class NoShell final : public Shell {
 public:
  void OpenUrl(const std::string&) override {}
  std::optional<std::string> ComputerName(size_t) const override { return std::nullopt; }
};

}  // namespace chimewell
