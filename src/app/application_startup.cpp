// Start-up in three stages (construction, first showing, the deferred start), and the close.
#include <fstream>

#include "app/application.h"
#include "app/config_server.h"
#include "app/texts.h"
#include "core/atomic_file.h"
#include "core/ini_file.h"
#include "core/settings_store.h"
#include "platform/file_system.h"
#include "platform/speech_control.h"
#include "platform/timer.h"
#include "schedule/script_text.h"
#include "version.h"

namespace chimewell {

void Application::FormCreate() {
  deps_.view.SetStatusVisible(false);
  deps_.view.SetAboutPanel(true, false);  // an about box until start-up is done
  version_text_ = "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
                  "." + std::to_string(kVersionPatch) + " (build:" + std::to_string(kBuildNumber) +
                  ")";
  deps_.view.SetVersionText(version_text_);
  app_info_ = ReadAppInfo(deps_.paths.app_info);
  schedule_.SetDebugMode(app_info_.Debug);
}

void Application::FormShow() {
  deps_.view.HideMessagePanel();
  // Saves cut short by a crash or a power cut leave their temporary files behind.
  RemoveStaleTemporaries(deps_.paths.settings);
  RemoveStaleTemporaries(deps_.paths.schedule);
  RemoveStaleTemporaries(deps_.paths.holidays);
  const StartupSettings settings = ReadStartupSettings(deps_.paths.settings);
  app_ = settings.app;
  config_ = settings.config;
  clock_settings_ = settings.clock;
  deps_.view.SetBounds({app_.Left, app_.Top, app_.Width, app_.Height});

  const PanelBatch panel_batch(*this);
  LoadHolidays();
  schedule_lines_ = ReadScheduleFile();
  if (!ReloadSchedule()) ShowPanelMessage(texts::kScheduleHasErrors);
  if (!ReloadTimeSignal().empty()) ShowPanelMessage(texts::kVoiceFilesNotLoaded);

  LookUpFaceCharsets(deps_.fonts, clock_settings_, face_state_);
  deps_.view.SetAuthorLinkActive(!app_info_.MyPageURL.empty());

  deps_.timer.SetHandler([this] { TimerFired([this] { Timer1PreTimer(); }); });
  deps_.timer.Arm(1500);
}

void Application::Timer1PreTimer() {
  deps_.timer.Disable();
  if (config_.IconicStart) deps_.view.HideWindow();
  deps_.timer.SetHandler([this] { TimerFired([this] { Timer1Timer(true); }); });
  running_ = true;
  if (deps_.server != nullptr) deps_.server->BuildPageCache();
  StartServer();
  CheckSpeech();
  deps_.view.SetPortEditText(std::to_string(app_.PortNumber));
  deps_.speech.SpeakText(texts::kIdeographicSpace);
  face_state_.FullRedrawPending = true;
  planner_.SetRecomputeFlag(1);
  Timer1Timer(false);
  deps_.view.SetAboutPanel(false, true);
  deps_.view.SetStatusVisible(true);
}

void Application::ArmTick(int delay_ms) { deps_.timer.Arm(delay_ms); }

bool Application::StartServer() {
  if (deps_.server == nullptr) {
    log_.AddLogLine("configuration server not available in this build");
    return false;
  }
  std::string error;
  if (deps_.server->Listen(app_.PortNumber, error)) return true;
  // Start-up goes on without the page, and tries the port again until it is free; the port
  // panel can move the server meanwhile.
  const std::string text = texts::PortWaited(app_.PortNumber, error);
  log_.AddLogLine(text);
  ShowPanelMessage(text);
  server_retry_at_ = deps_.clock.ElapsedNow() + kServerRetryPause;
  return false;
}

void Application::RetryServer() {
  if (!server_retry_at_ || deps_.clock.ElapsedNow() < *server_retry_at_) return;
  std::string error;
  if (deps_.server->Listen(app_.PortNumber, error)) {
    server_retry_at_.reset();
  } else {
    server_retry_at_ = deps_.clock.ElapsedNow() + kServerRetryPause;
  }
}

void Application::FormClose() {
  if (closed_) return;
  closed_ = true;
  const WindowBounds bounds = deps_.view.Bounds();
  app_.Left = bounds.left;
  app_.Top = bounds.top;
  app_.Width = bounds.width;
  app_.Height = bounds.height;
  try {
    WriteWindowPlacement(deps_.paths.settings, app_);
  } catch (const IniWriteError& error) {
    log_.AddLogLine(error.what());
  }
  PM_MenuClick(MenuItem::PM_Clear);
  deps_.timer.Disable();
  if (deps_.server != nullptr) deps_.server->Stop();
}

void Application::CloseMainWindow() {
  FormClose();
  deps_.view.CloseWindow();
}

std::string Application::ReloadTimeSignal() {
  deps_.speech.DiscardPrepared();
  return time_signal_.LoadTimeSignalSettings(ReadJihoSettings(deps_.paths.settings));
}

bool Application::ReloadSchedule() {
  const PanelBatch panel_batch(*this);
  deps_.speech.DiscardPrepared();
  return schedule_.LoadSchedule(schedule_lines_, config_.DefaultVolume);
}

LineList Application::ReadScheduleFile() const {
  const auto bytes = deps_.files.ReadFile(deps_.paths.schedule, FileKind::kScript);
  return bytes ? ScriptLinesFromBytes(*bytes) : LineList{};
}

}  // namespace chimewell
