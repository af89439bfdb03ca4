// The page's controls and test commands: the same commands the menu runs, with the check marks
// set from the page's values instead of toggled by a click.
#include "app/application.h"
#include "app/test_file_entry.h"
#include "core/clock.h"
#include "platform/file_system.h"
#include "playback/firing.h"

namespace chimewell {

void Application::ChooseCount(int interval) {
  // The tick takes the new interval from its next run.
  menu_.CheckCount(CountItemFor(interval));
  MenuChanged();
}

void Application::TogglePause() {
  menu_.SetPaused(!menu_.Paused());
  PM_MenuClick(MenuItem::PM_Pause);
  MenuChanged();
}

void Application::SetMuted(bool muted) {
  menu_.SetMuted(muted);
  PM_MenuClick(MenuItem::PM_Mute);
  MenuChanged();
}

void Application::SkipPlaying() {
  PM_MenuClick(MenuItem::PM_Skip);
  MenuChanged();
}

void Application::TestPlayTimeSignal(const std::string& format, TDateTime moment) {
  PlayTimeSignal(format, 1, moment);
}

void Application::TestPlayMessage(const std::string& text, TDateTime moment) {
  SpeakNow(*playback_, text, config_.DefaultVolume, 1, moment, holidays_);
}

bool Application::TestPlayFile(const std::string& path, TCommandType kind) {
  if (!deps_.files.FileExists(path)) return false;
  const TSchedule entry = TestFileEntry(path, kind, config_.DefaultVolume);
  if (kind == ctWave) {
    FireWave(*playback_, entry, deps_.clock.Now());
  } else {
    FireMidi(*playback_, entry, deps_.clock.Now());
  }
  return true;
}

}  // namespace chimewell
