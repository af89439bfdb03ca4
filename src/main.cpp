// The composition root: reads the command line, picks the files, wires the platform pieces to
// the application object and the window, and runs the event loop.
#include <unistd.h>

#include <QApplication>
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
#include "app/problem_relay.h"
#include "core/settings_store.h"
#include "install_layout.h"
#include "mqtt/mqtt_inbox.h"
#include "mqtt/mqtt_link.h"
#include "platform/audio_sink.h"
#include "platform/file_system.h"
#include "platform/linux/desktop_busy_watcher_linux.h"
#include "platform/linux/fluidsynth_midi.h"
#include "platform/linux/inotify_zone_watcher.h"
#include "platform/linux/open_audio_sink.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer.h"
#include "platform/mixer_sound_player.h"
#include "platform/shell.h"
#include "platform/system_clock.h"
#include "ui/end_requests.h"
#include "ui/main_form.h"
#include "ui/main_tray.h"
#include "ui/qt_font_catalog.h"
#include "ui/qt_program_setup.h"
#include "ui/qt_timer.h"
#include "ui/qt_ui_thread.h"
#include "ui/settings_folder_claim.h"
#include "version.h"
#include "web/open_file_limit.h"
#include "web/this_machine.h"
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

using Reporter = std::function<void(const std::string&)>;

// The platform pieces that need nothing but themselves.
struct DesktopPlatform {
  SystemClock clock;
  QtTimer timer;
  QtUiThread ui;
  DesktopShell shell;
  RealFileSystem files;
  QtFontCatalog fonts;
};

// The mixer, started on its sink before anything plays into it.
struct RunningMixer {
  RunningMixer(std::unique_ptr<AudioSink> sink, const Reporter& report) : mixer(std::move(sink)) {
    mixer.Start(report);
  }
  Mixer mixer;
};

// What sounds: files, speech and MIDI, mixed onto one sink.
struct SoundParts {
  SoundParts(std::unique_ptr<AudioSink> sink, const AppPaths& paths, const Reporter& report)
      : running(std::move(sink), report),
        sound(running.mixer),
        speech(running.mixer, report),
        midi(running.mixer, ReadStartupSettings(paths.settings).config.SoundFont) {}
  RunningMixer running;
  MixerSoundPlayer sound;
  OpenJTalkSpeech speech;
  FluidSynthMidi midi;
};

// The address is given out once the page answers (start-up opens it after a short delay).
AnnouncedServer AnnouncingAddress(ConfigServer& server, const AppPaths& paths) {
  return AnnouncedServer(
      server,
      [&paths](int port) {
        const bool remote = !ReadAccessPasswordHash(paths.settings).empty();
        std::cout << PageAddressLines(port, remote, InterfaceAddresses()) << std::flush;
      },
      [](const std::string& error) { std::cerr << "chimewell: " << error << std::endl; });
}

// The application tells the bus of its state from the attachment until the attachment ends.
class MessageBusAttachment {
 public:
  MessageBusAttachment(Application& app, MessageBus& bus) : app_(app) { app_.AttachMessageBus(&bus); }
  ~MessageBusAttachment() { app_.AttachMessageBus(nullptr); }
  MessageBusAttachment(const MessageBusAttachment&) = delete;
  MessageBusAttachment& operator=(const MessageBusAttachment&) = delete;

 private:
  Application& app_;
};

// The window, the page and the application on the platform and sound pieces, until the event
// loop ends.
int RunApplication(QApplication& qt, const AppPaths& paths, bool headless,
                   DesktopPlatform& platform, SoundParts& sound, ProblemRelay& problems,
                   SettingsFolderClaim& claim) {
  TMainForm form(headless);
  WebConfigServer server(
      platform.ui, PageServices{platform.fonts, platform.files, platform.clock, sound.speech});
  AnnouncedServer announced = AnnouncingAddress(server, paths);
  // What keeps the clock from sounding is told where a clock without a window is watched too.
  const auto tell_outside = [](const std::string& text) {
    std::cerr << "chimewell: " << text << std::endl;
  };
  Application app(AppDependencies{platform.clock, platform.timer, platform.ui, platform.shell,
                                  platform.files, sound.sound, sound.speech, sound.midi,
                                  platform.fonts, form, &announced, paths, tell_outside});
  const ProblemRelay::Connection reports_to_app(problems, app);
  server.Attach(app);
  form.Attach(app);
  claim.OnShowRequest([&form] { form.ShowOnRequest(); });
  claim.OnLine([&app](std::string_view line) {
    std::string answer = "error";
    app.CatchFaults("tell", [&] { answer = app.TellFromLine(line); });
    return answer;
  });
  // The MQTT link lives as long as the application is attached to it.
  MqttLink mqtt(
      platform.ui, kVersionText,
      [&app, &platform](const std::string& name, const std::string& topic,
                        const std::string& payload) {
        app.CatchFaults("mqtt", [&] { ApplyMqttMessage(app, platform.clock, name, topic, payload); });
      },
      [&app](const std::string& line) { app.AddLogLine(line); });
  const MessageBusAttachment bus_attached(app, mqtt);
  // Destroyed before the application, so nothing tells it of a change once it is gone.
  InotifyZoneWatcher zone_watcher(problems.AsFunction());
  app.WatchZone(zone_watcher);
  const auto busy_watcher = OpenDesktopBusyWatcher(problems.AsFunction());
  app.WatchDesktop(*busy_watcher);

  std::unique_ptr<MainTray> tray;
  if (!headless && MainTray::Available()) tray = std::make_unique<MainTray>(form, app);
  // Without a tray a hidden clock could not be brought back, so minimising keeps it minimised.
  form.SetHideOnMinimise(tray != nullptr);
  const EndRequests end_requests(qt, app, tray.get());

  app.FormCreate();
  form.Start();
  std::cout << "Settings file: " << paths.settings << std::endl;
  const int status = QApplication::exec();
  app.CloseMainWindow();  // nothing happens when the window closed already
  server.Stop();
  return status;
}

int Run(int argc, char** argv, const CommandLine& options, const AudioSinkSpec& audio) {
  const bool headless = options.headless || !HasDisplay();
  PrepareQtPlatform(headless);
  QApplication qt(argc, argv);
  NameQtApplication();

  const auto paths = ChoosePaths(options);
  if (!paths) return kStartError;
  const auto claim = SettingsFolderClaim::Take(paths->settings, !headless);
  if (!claim) return kStartError;

  DesktopPlatform platform;
  // Sound problems may be found on the mixing or the speech thread, and before the window is
  // up; faults are caught at the event loop's edge and on our threads. Both reach the
  // application through the relay.
  ProblemRelay problems(platform.ui);
  platform.ui.SetFaultReport([&problems](const std::string& text) { problems.Fault(text); });
  OpenedSink opened = OpenAudioSink(audio, problems.AsFunction());
  if (opened.fell_back && audio.kind == AudioSinkSpec::Kind::kWav) {
    std::cerr << "chimewell: cannot write the sound file " << audio.target << "\n";
    return kStartError;
  }
  SoundParts sound(std::move(opened.sink), *paths, problems.AsFunction());
  return RunApplication(qt, *paths, headless, platform, sound, problems, *claim);
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
