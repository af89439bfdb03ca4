#include "app/application.h"

#include "app/texts.h"
#include "core/clock.h"
#include "core/fault.h"
#include "platform/speech_control.h"
#include "platform/timer.h"
#include "platform/ui_thread.h"
#include "version.h"

namespace chimewell {

Application::Application(AppDependencies deps)
    : deps_(std::move(deps)),
      log_(deps_.clock),
      schedule_(deps_.files,
                ScheduleReporting{[this](const std::string& text) { ShowPanelMessage(text); },
                                  &log_, false},
                holidays_),
      outlet_(
          log_, holidays_, [this] { SetSkipEnabled(true); },
          [this](const std::string& text) { ShowPanelMessage(text); }),
      time_signal_(deps_.files, outlet_),
      planner_(schedule_, config_) {
  schedule_.Files().SetChimeFolder(deps_.paths.chimes);
  PlaybackSettings playback_settings;
  playback_settings.mute_checked = [this] { return menu_.Muted(); };
  playback_settings.back_volume = [this] { return config_.BackVolume; };
  playback_settings.late_limit = [this] { return config_.LateLimit; };
  playback_settings.skip_enabled = [this](bool enabled) { SetSkipEnabled(enabled); };
  playback_settings.report_fault = [this](const std::string& text) { ReportFault(text); };
  playback_settings.message_finished = [this](uint64_t id) { AnnouncementFinished(id); };
  playback_ = std::make_unique<Playback>(deps_.clock, deps_.ui, deps_.sound, deps_.speech,
                                         deps_.midi, log_, std::move(playback_settings));
  outlet_.PlayTo(*playback_);
  // The synthesizer reports from its own thread; the window is the UI thread's.
  deps_.speech.SetAudioEvents([this] { deps_.ui.Post([this] { DirectSS1AudioStart(); }); },
                              [this] { deps_.ui.Post([this] { DirectSS1AudioStop(); }); });
}

Application::~Application() {
  deps_.speech.SetAudioEvents(nullptr, nullptr);
  deps_.timer.SetHandler(nullptr);
}

void Application::ReportFault(const std::string& text) {
  AddLogLine(text);
  ShowPanelMessage(text);
}

bool Application::CatchFaults(const char* where, const std::function<void()>& step) {
  return RunCatchingFaults(where, step, [this](const std::string& text) { ReportFault(text); });
}

void Application::TimerFired(const std::function<void()>& tick) {
  constexpr int kAfterFaultMs = 1000;
  if (!CatchFaults("tick", tick)) deps_.timer.Arm(kAfterFaultMs);
}

TimeSignalOutcome Application::PlayTimeSignal(const std::string& format, int repeat,
                                              TDateTime moment) {
  return PlayTimeSignalAt(format, repeat, moment, std::nullopt);
}

TimeSignalOutcome Application::PlayTimeSignalAt(const std::string& format, int repeat,
                                                TDateTime moment,
                                                std::optional<WallMoment> start_at) {
  time_signal_.SetDefaultVolume(config_.DefaultVolume);
  return time_signal_.PlayTimeSignal(format, repeat, moment, start_at);
}

void Application::SetSkipEnabled(bool enabled) {
  menu_.SetSkipEnabled(enabled);
  deps_.view.SetSkipEnabled(enabled);
}

void Application::DirectSS1AudioStart() {
  SetSkipEnabled(true);
  if (config_.LipsView) deps_.view.SetLipsViewVisible(true);
}

void Application::DirectSS1AudioStop() {
  SetSkipEnabled(false);
  deps_.view.SetLipsViewVisible(false);
}

void Application::DrawClock() {
  DrawClockFace(deps_.view.ClockCanvas(), clock_settings_, face_state_, deps_.clock);
  deps_.view.PresentClock();
}

}  // namespace chimewell
