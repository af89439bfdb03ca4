// The composition root: reads the command line, picks the files, wires the platform pieces to
// the application object and the window, and runs the event loop.
#include <unistd.h>

#include <QApplication>
#include <QSessionManager>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/announced_server.h"
#include "app/app_paths.h"
#include "app/application.h"
#include "app/command_line.h"
#include "app/file_locations.h"
#include "app/page_addresses.h"
#include "core/settings_store.h"
#include "install_layout.h"
#include "platform/audio_sink.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/linux/fluidsynth_midi.h"
#include "platform/linux/inotify_zone_watcher.h"
#include "platform/linux/open_audio_sink.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer.h"
#include "platform/mixer_sound_player.h"
#include "platform/shell.h"
#include "ui/main_form.h"
#include "ui/main_tray.h"
#include "ui/qt_font_catalog.h"
#include "ui/qt_timer.h"
#include "ui/qt_ui_thread.h"
#include "ui/settings_folder_claim.h"
#include "ui/termination_signals.h"
#include "version.h"
#include "web/open_file_limit.h"
#include "web/web_config_server.h"

namespace {

using namespace chimewell;

constexpr int kUsageError = 2;
constexpr int kStartError = 1;

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

std::string VersionLine() {
  return std::string("chimewell ") + kVersionText + " (build:" + std::to_string(kBuildNumber) + ")";
}

// Finds the user's files (see app/file_locations.h); nullopt with a message on failure.
std::optional<AppPaths> ChoosePaths(const CommandLine& options) {
  const std::string executable = QCoreApplication::applicationFilePath().toStdString();
  const std::string folder = QCoreApplication::applicationDirPath().toStdString();
  const ProgramLocation program{executable, ::access(folder.c_str(), W_OK) == 0};
  const InstallLayout layout{kInstallBinDir, kInstallDataDir, kApplicationId};
  std::string error;
  auto paths =
      ResolveAppPaths(options.home, program, layout,
                      UserConfigHome(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")), error);
  if (!paths) std::cerr << "chimewell: " << error << "\n";
  return paths;
}

int Run(int argc, char** argv, const CommandLine& options, const AudioSinkSpec& audio) {
  const bool headless = options.headless || !HasDisplay();
  // Without a window the program still draws and lays out text, off screen.
  if (headless) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Each second only a few digits of the clock change, and those few bytes go to the X server
  // on its socket. With shared-memory images Qt would wait for a round trip on every repaint,
  // waking two threads twice a second instead of once.
  setenv("QT_XCB_NO_MITSHM", "1", 0);
  QApplication qt(argc, argv);
  QApplication::setApplicationName("Chimewell");
  QApplication::setApplicationDisplayName("Chimewell");
  // Hiding the clock must not end the program; only Exit, the close button or a signal do.
  QApplication::setQuitOnLastWindowClosed(false);

  const auto paths = ChoosePaths(options);
  if (!paths) return kStartError;
  const auto claim = SettingsFolderClaim::Take(paths->settings, !headless);
  if (!claim) return kStartError;

  SystemClock clock;
  QtTimer timer;
  QtUiThread ui;
  DesktopShell shell;
  RealFileSystem files;
  QtFontCatalog fonts;
  // Sound problems are told in the log and the message panel. They may be found on the mixing
  // or the speech thread, and before the window is up, so they reach the application through the
  // event loop, which runs them after the first showing.
  Application* running_app = nullptr;
  const auto report = [&ui, &running_app](const std::string& message) {
    ui.Post([&running_app, message] {
      if (running_app == nullptr) return;
      running_app->AddLogLine(message);
      running_app->ShowPanelMessage(message);
    });
  };
  // Faults caught at the event loop's edge and on our threads are told the same way.
  ui.SetFaultReport([&running_app](const std::string& text) {
    if (running_app != nullptr) running_app->ReportFault(text);
  });
  OpenedSink opened = OpenAudioSink(audio, report);
  if (opened.fell_back && audio.kind == AudioSinkSpec::Kind::kWav) {
    std::cerr << "chimewell: cannot write the sound file " << audio.target << "\n";
    return kStartError;
  }
  Mixer mixer(std::move(opened.sink));
  mixer.Start(report);
  MixerSoundPlayer sound(mixer);
  OpenJTalkSpeech speech(mixer, report);
  FluidSynthMidi midi(mixer, ReadStartupSettings(paths->settings).config.SoundFont);
  TMainForm form(headless);
  WebConfigServer server(ui, PageServices{fonts, files, clock, speech});
  // The address is given out once the page answers (start-up opens it after a short delay).
  AnnouncedServer announced(
      server,
      [&paths](int port) {
        const bool remote = !ReadAccessPasswordHash(paths->settings).empty();
        std::cout << PageAddressLines(port, remote, InterfaceAddresses()) << std::flush;
      },
      [](const std::string& error) { std::cerr << "chimewell: " << error << std::endl; });
  Application app(AppDependencies{clock, timer, ui, shell, files, sound, speech, midi, fonts, form,
                                  &announced, *paths});
  server.Attach(app);
  running_app = &app;
  form.Attach(app);
  claim->OnShowRequest([&form] { form.ShowOnRequest(); });
  // Destroyed before the application, so nothing tells it of a change once it is gone.
  InotifyZoneWatcher zone_watcher(report);
  app.WatchZone(zone_watcher);

  std::unique_ptr<MainTray> tray;
  if (!headless && MainTray::Available()) tray = std::make_unique<MainTray>(form, app);
  // Without a tray a hidden clock could not be brought back, so minimising keeps it minimised.
  form.SetHideOnMinimise(tray != nullptr);

  // A fault while closing is reported like any other, and the program ends all the same: a
  // signal or the end of the session must not leave it running.
  const auto close_for = [&app](const char* cause, const std::function<void()>& close) {
    if (!app.CatchFaults(cause, close)) QCoreApplication::quit();
  };
  const TerminationSignals termination(
      [&](int) { close_for("signal", [&app] { app.CloseMainWindow(); }); });
  QObject::connect(&qt, &QGuiApplication::commitDataRequest, [&](QSessionManager&) {
    close_for("session end", [&] {
      if (tray) tray->QueryEndSession();
      app.CloseMainWindow();
    });
  });

  app.FormCreate();
  form.Start();
  std::cout << "Settings file: " << paths->settings << std::endl;
  const int status = QApplication::exec();
  app.CloseMainWindow();  // nothing happens when the window closed already
  server.Stop();
  running_app = nullptr;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  chimewell::RaiseOpenFileLimit();  // room for many clients of the configuration page
  const CommandLineResult parsed =
      ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (!parsed.error.empty()) {
    std::cerr << "chimewell: " << parsed.error << "\n" << CommandLineUsage();
    return kUsageError;
  }
  if (parsed.options.help) {
    std::cout << CommandLineUsage() << CommandLineHelp();
    return 0;
  }
  if (parsed.options.version) {
    std::cout << VersionLine() << "\n";
    return 0;
  }
  const auto audio = ParseAudioSinkSpec(parsed.options.audio);
  if (!audio) {
    std::cerr << "chimewell: " << kAudioSinkUsage << "\n" << CommandLineUsage();
    return kUsageError;
  }
  return Run(argc, argv, parsed.options, *audio);
}
