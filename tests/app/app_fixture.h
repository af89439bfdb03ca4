#pragma once
// An application object on fakes: virtual time, a recording window, timer and shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "display/canvas.h"
#include "platform/file_system.h"
#include "platform/font_catalog.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "platform/ui_thread.h"
#include "playback/fakes/fake_midi_library.h"
#include "playback/fakes/fake_sound_player.h"
#include "playback/fakes/fake_speech.h"
#include "simulate/quiet_platform.h"
#include "support/fake_clock.h"
#include "support/fake_shell.h"
#include "support/fake_timer.h"
#include "support/temp_dir.h"

namespace chimewell::testing {


class FakeView final : public AppView {
 public:
  bool IsShowing() const override { return showing; }
  void ShowWindow() override { showing = true; }
  void HideWindow() override { showing = false; }
  void CloseWindow() override { closed = true; }
  void ProcessPendingEvents() override {}
  WindowBounds Bounds() const override { return bounds; }
  void SetBounds(const WindowBounds& b) override { bounds = b; }
  Canvas& ClockCanvas() override { return canvas; }
  void PresentClock() override {
    if (present_fails) throw std::runtime_error("drawing failed");
    ++clock_drawings;
  }
  void SetStatusText(const std::string& text) override { status = text; }
  void SetStatusVisible(bool visible) override { status_visible = visible; }
  void ShowMessagePanel(const std::string& text) override {
    panel_visible = true;
    panel_text = text;
    ++panel_updates;
  }
  void HideMessagePanel() override { panel_visible = false; }
  void SetAboutPanel(bool visible, bool port_controls) override {
    about_visible = visible;
    port_controls_visible = port_controls;
  }
  bool AboutPanelVisible() const override { return about_visible; }
  void SetPortEditText(const std::string& text) override { port_edit = text; }
  std::string PortEditText() const override { return port_edit; }
  void SetVersionText(const std::string& text) override { version = text; }
  void SetAuthorLinkActive(bool active) override { author_link = active; }
  void SetSkipEnabled(bool enabled) override { skip_enabled = enabled; }
  void SetLipsViewVisible(bool visible) override { lips_visible = visible; }
  void MenuStateChanged() override {}

  bool showing = true;
  bool closed = false;
  WindowBounds bounds;
  NullCanvas canvas;
  int clock_drawings = 0;
  bool present_fails = false;
  std::string status;
  bool status_visible = true;
  bool panel_visible = false;
  std::string panel_text;
  int panel_updates = 0;
  bool about_visible = false;
  bool port_controls_visible = false;
  std::string port_edit;
  std::string version;
  bool author_link = false;
  bool skip_enabled = true;
  bool lips_visible = false;
};

class FakeFonts final : public FontCatalog {
 public:
  std::vector<FontFamilyInfo> Families() const override { return {{"IPAGothic", 4, true}}; }
  std::optional<FontFamilyInfo> Find(std::string_view name) const override {
    if (name == "IPAGothic") return Families()[0];
    return std::nullopt;
  }
};

// Moments in the test's local time.
inline TDateTime At(int h, int m, int s, int ms = 0, int day = 7) {
  return *TryEncodeDateTime({2026, 12, day, h, m, s, ms});
}

class AppTest : public ::testing::Test {
 protected:
  AppTest() : clock(At(11, 0, 0)), sound(clock), speech(clock), midi(clock) {}
  ~AppTest() override {
    if (app) app->PM_MenuClick(MenuItem::PM_Clear);
  }

  void WriteFile(const char* name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  // Builds the application and runs start-up through the deferred stage. `tell_outside`
  // receives what the program would print on standard error.
  void Start(std::function<void(const std::string&)> tell_outside = {}) {
    AppPaths paths = PathsInHome(dir.path().string());
    paths.autostart = {(dir / "autostart" / "clock.desktop").string(), "chimewell", "clock"};
    app = std::make_unique<Application>(AppDependencies{clock, timer, ui, shell, files, sound,
                                                        speech, midi, fonts, view, nullptr,
                                                        paths, std::move(tell_outside)});
    app->FormCreate();
    app->FormShow();
    EXPECT_EQ(timer.Interval(), 1500);
    timer.FireNow();  // the deferred start-up
  }
  // Moves the clock to `t` and lets the armed timer fire there.
  void FireTimerAt(TDateTime t) {
    ASSERT_TRUE(timer.Enabled());
    clock.Set(t);
    timer.FireNow();
  }
  // Lets the timer fire when it is due, as the window system would.
  void FireTimerWhenDue() {
    ASSERT_TRUE(timer.Enabled());
    clock.Advance(timer.Interval());
    timer.FireNow();
  }
  std::vector<std::string> LogLinesContaining(const std::string& part) const {
    std::vector<std::string> found;
    for (const auto& line : app->Logs().Lines()) {
      if (line.find(part) != std::string::npos) found.push_back(line);
    }
    return found;
  }
  TDateTime ArmedFor() const { return AddMilliseconds(clock.Now(), timer.Interval()); }

  TempDir dir;
  FakeClock clock;
  FakeTimer timer{&clock};
  InlineUiThread ui;
  FakeShell shell;
  RealFileSystem files;
  FakeSoundPlayer sound;
  FakeSpeech speech;
  FakeMidiLibrary midi;
  FakeFonts fonts;
  FakeView view;
  std::unique_ptr<Application> app;
};

}  // namespace chimewell::testing
