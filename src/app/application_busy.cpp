// Keeping quiet: the quiet hours of the settings, and a desktop busy with a call or Do Not
// Disturb, during which announcements wait.
#include <algorithm>

#include "app/application.h"
#include "app/quiet_hours.h"
#include "app/texts.h"
#include "platform/desktop_busy_watcher.h"
#include "platform/ui_thread.h"

namespace chimewell {

void Application::WatchDesktop(DesktopBusyWatcher& watcher) {
  watcher.Start(
      [this](DesktopBusyState state) {
        deps_.ui.Post(
            [this, state] { CatchFaults("desktop", [this, state] { DesktopBusyChanged(state); }); });
      },
      [this](BusyUnavailable reason) {
        deps_.ui.Post([this, reason] {
          CatchFaults("desktop", [this, reason] { DesktopBusyUnavailable(reason); });
        });
      });
}

void Application::DesktopBusyChanged(DesktopBusyState state) {
  if (state == desktop_busy_) return;
  desktop_busy_ = state;
  FollowDesktopBusy();
}

void Application::DesktopBusyUnavailable(BusyUnavailable reason) {
  if (std::find(busy_unavailable_told_.begin(), busy_unavailable_told_.end(), reason) !=
      busy_unavailable_told_.end()) {
    return;
  }
  // Logged once and shown on the page beside the setting; the panel over the clock only when
  // the user turns the setting on, so a desktop without a bus or sound server is not covered
  // at every start.
  busy_unavailable_told_.push_back(reason);
  log_.AddLogLine(BusyUnwatchedText(reason));
}

const char* BusyUnwatchedText(BusyUnavailable reason) {
  return reason == BusyUnavailable::kNoSoundServer ? texts::kCallsUnwatched
                                                   : texts::kDoNotDisturbUnwatched;
}

void Application::FollowDesktopBusy() {
  const bool heed = config_.QuietWhenBusy;
  std::optional<HoldReason> reason;
  if (heed && desktop_busy_.in_call) {
    reason = HoldReason::kCall;
  } else if (heed && desktop_busy_.do_not_disturb) {
    reason = HoldReason::kDoNotDisturb;
  }
  playback_->HoldMusic(heed && desktop_busy_.in_call);
  if (reason == planner_.Holding()) return;
  planner_.SetHolding(reason);
  // A run of the tick now plays what waited (or, as the desktop becomes busy, holds what is
  // about to be handed over) and has the status line say why the clock waits. One run for
  // each change of state: no polling.
  if (running_ && !menu_.Paused()) ArmTick(0);
}

std::optional<TDateTime> Application::QuietUntil(TDateTime announced) const {
  const auto quiet = QuietHours::Of(config_);
  if (!quiet) return std::nullopt;
  return quiet->QuietUntil(announced);
}

bool Application::CountMayPlay(const TickMoment& at) {
  if (planner_.Holding()) return false;  // the status line says why
  const auto until = QuietUntil(at.announced);
  if (!until) return true;
  if (quiet_count_told_until_ != until) {
    quiet_count_told_until_ = until;
    log_.AddLogLine(texts::kQuietPrefix + texts::QuietCount(FormatDateTime("h:nn", *until)));
  }
  return false;
}

std::string Application::WaitingText(const TickMoment& m) const {
  if (const auto reason = planner_.Holding()) {
    return *reason == HoldReason::kCall ? texts::kWaitingForCall : texts::kWaitingForDoNotDisturb;
  }
  if (const auto until = QuietUntil(m.announced)) {
    return texts::QuietUntil(FormatDateTime("h:nn", *until));
  }
  return "";
}

}  // namespace chimewell
