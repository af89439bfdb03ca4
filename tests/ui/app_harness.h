#pragma once
// The real window and application object on fake platform pieces: a clock the test sets, a
// timer the test fires, a shell that records what it was asked to open, and silent sound.
#include <QCoreApplication>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/file_system.h"
#include "platform/midi_library.h"
#include "platform/shell.h"
#include "platform/sound_player.h"
#include "platform/speech_control.h"
#include "platform/timer.h"
#include "platform/ui_thread.h"
#include "simulate/quiet_platform.h"
#include "support/fake_clock.h"
#include "support/fake_shell.h"
#include "support/fake_timer.h"
#include "support/temp_dir.h"
#include "ui/main_form.h"
#include "ui/qt_font_catalog.h"

namespace chimewell::testing {

// 2024-04-01 (a Monday) at a time of day.
inline TDateTime MorningOf(int hour, int minute, int second) {
  return *TryEncodeDateTime({2024, 4, 1, hour, minute, second, 0});
}

struct AppHarness {
  explicit AppHarness(bool headless = false)
      : clock(MorningOf(9, 5, 7)),
        form(headless),
        app(AppDependencies{clock, timer, ui, shell, files, sound, speech, midi, fonts, form,
                            nullptr, PathsInHome(dir.path().string())}) {
    form.Attach(app);
  }
  // Construction and first showing, then the deferred start as its timer would run it.
  void StartUp() {
    app.FormCreate();
    form.Start();
    timer.FireNow();
  }
  void Settle() { QCoreApplication::processEvents(); }

  TempDir dir;
  FakeClock clock;
  FakeTimer timer{&clock};
  InlineUiThread ui;
  FakeShell shell;
  RealFileSystem files;
  QuietSound sound;
  QuietSpeech speech;
  QuietMidi midi;
  QtFontCatalog fonts;
  TMainForm form;
  Application app;
};

}  // namespace chimewell::testing
