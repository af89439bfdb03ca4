// The command handler of the popup menu, double-clicks and the author link; the port panel;
// the message panel and the status line; the base settings.
#include "app/application.h"
#include "app/autostart.h"
#include "app/config_server.h"
#include "app/port_setting.h"
#include "app/status_line.h"
#include "app/texts.h"
#include "core/clock.h"
#include "core/ini_file.h"
#include "core/settings_store.h"
#include "platform/shell.h"
#include "platform/timer.h"

namespace chimewell {
void Application::ChooseMenuItem(MenuItem item) {
  if (item == MenuItem::PM_Pause) menu_.SetPaused(!menu_.Paused());
  if (item == MenuItem::PM_Mute) menu_.SetMuted(!menu_.Muted());
  if (IsCountItem(item)) menu_.CheckCount(item);
  deps_.view.MenuStateChanged();
  PM_MenuClick(item);
}

void Application::PM_MenuClick(MenuItem item, ClickSource source) {
  if (source == ClickSource::ClockDoubleClick || source == ClickSource::TrayDoubleClick) {
    RunDoubleClickAction();
    return;
  }
  if (source == ClickSource::AuthorLink) item = MenuItem::PM_URL;

  switch (item) {
    case MenuItem::PM_Clear:
      playback_->ClearAll();
      announcements_.Clear();
      break;
    case MenuItem::PM_Pause:
      if (menu_.Paused()) {
        playback_->Pause(true);
        SetSkipEnabled(false);
        deps_.timer.Disable();
        UpdateStatusLine(std::nullopt);
      } else {
        playback_->Pause(false);
        Timer1Timer(false);
      }
      break;
    case MenuItem::PM_Skip:
      playback_->Skip();
      break;
    case MenuItem::PM_Mute:
      playback_->SetMute(menu_.Muted());
      UpdateStatusLine(std::nullopt);
      break;
    case MenuItem::PM_URL:
      if (app_info_.MyPageURL.empty()) {
        ShowPanelMessage(texts::kNoAuthorUrl);
      } else {
        deps_.shell.OpenUrl(app_info_.MyPageURL);
      }
      break;
    case MenuItem::PM_Config:
      OpenConfigPage();
      break;
    case MenuItem::PM_Clock:
      if (deps_.view.IsShowing()) {
        deps_.view.HideWindow();
      } else {
        deps_.view.ShowWindow();
        deps_.view.ProcessPendingEvents();
        Timer1Timer(false);
      }
      break;
    case MenuItem::PM_Current:
      PlayTimeSignal(time_signal_.Settings().TimeSignalFormat, 1, deps_.clock.Now());
      break;
    case MenuItem::PM_About:
      TogglePortPanel();
      break;
    case MenuItem::PM_Exit:
      CloseMainWindow();
      break;
    default:  // the six count items
      Timer1Timer(false);
      break;
  }
}

void Application::RunDoubleClickAction() {
  switch (config_.DoubleClick) {
    case 1:
      PM_MenuClick(MenuItem::PM_Clock);
      break;
    case 2:
      PM_MenuClick(MenuItem::PM_Config);
      break;
    default:
      PlayTimeSignal(time_signal_.Settings().TimeSignalFormat, 1, deps_.clock.Now());
      break;
  }
}

void Application::ApplyBaseSettings(const ConfigSettings& config,
                                    std::optional<bool> start_at_login) {
  const bool heeds_newly = config.QuietWhenBusy && !config_.QuietWhenBusy;
  config_ = config;
  deps_.speech.DiscardPrepared();  // the offset or the volume may have changed what is said
  FollowDesktopBusy();             // the busy setting may have changed
  // Turned on by the user: what cannot be watched is said where they look.
  if (heeds_newly) {
    for (const BusyUnavailable reason : busy_unavailable_told_) {
      ShowPanelMessage(BusyUnwatchedText(reason));
    }
  }
  WriteConfigSettings(deps_.paths.settings, config_);
  if (start_at_login && *start_at_login != StartsAtLogin()) {
    SetAutostart(deps_.paths.autostart, *start_at_login);
  }
}

bool Application::StartsAtLogin() const { return AutostartEnabled(deps_.paths.autostart); }

std::string Application::ConfigPageAddress() const {
  // This machine's own address always answers, whatever the network knows the name by.
  return "http://localhost:" + std::to_string(app_.PortNumber) + "/";
}

void Application::OpenConfigPage() { deps_.shell.OpenUrl(ConfigPageAddress()); }

void Application::TogglePortPanel() {
  deps_.view.SetAboutPanel(!deps_.view.AboutPanelVisible(), true);
  if (!deps_.view.IsShowing()) {
    deps_.view.ShowWindow();
    // A window that was hidden had its timer armed for the next event only; without a tick
    // here its clock would stand still until then.
    if (deps_.view.IsShowing() && running_ && !menu_.Paused()) Timer1Timer(false);
  }
}

void Application::PortButtonClick() {
  const auto port = ParsePortInput(deps_.view.PortEditText());
  if (!port) {
    ShowPanelMessage(texts::kPortRange);
    return;
  }
  if (deps_.server != nullptr) {
    std::string error;
    if (!deps_.server->Listen(*port, error)) {
      // The page stays where it was, and so do the setting and the panel's number.
      const std::string text = server_retry_at_ ? texts::PortWaited(*port, error)
                                                : texts::PortNotMoved(*port, error, app_.PortNumber);
      deps_.view.SetPortEditText(std::to_string(app_.PortNumber));
      log_.AddLogLine(text);
      ShowPanelMessage(text);
      return;
    }
    server_retry_at_.reset();
  }
  app_.PortNumber = *port;
  try {
    WritePortNumber(deps_.paths.settings, *port);
  } catch (const IniWriteError& error) {
    ShowPanelMessage(error.what());
    return;
  }
  deps_.view.SetAboutPanel(false, true);
}

void Application::PortCancelClick() {
  deps_.view.SetPortEditText(std::to_string(app_.PortNumber));
  deps_.view.SetAboutPanel(false, true);
}

void Application::MessageButtonClick() {
  panel_.Hide();
  deps_.view.HideMessagePanel();
}

void Application::ShowPanelMessage(const std::string& text) {
  panel_.Show(text, deps_.clock.TickCount());
  if (panel_batch_depth_ > 0) {
    panel_pending_ = true;
  } else {
    deps_.view.ShowMessagePanel(panel_.Text());
  }
}

Application::PanelBatch::~PanelBatch() {
  if (--app_.panel_batch_depth_ > 0 || !app_.panel_pending_) return;
  app_.panel_pending_ = false;
  if (app_.panel_.Visible()) app_.deps_.view.ShowMessagePanel(app_.panel_.Text());
}

void Application::UpdateStatusLine(const std::optional<std::string>& text) {
  status_text_ = BuildStatusLine(menu_, text, next_event_text_, waiting_text_);
  deps_.view.SetStatusText(status_text_);
  if (bus_ != nullptr) bus_->PublishStatus(Status());
}

}  // namespace chimewell
