#include "app/firing_outlet.h"

#include "core/log.h"
#include "playback/firing.h"
#include "playback/playback.h"

namespace chimewell {
namespace {

// What an announcement says: its speech text, or the names of its voice files.
std::string OutcomeText(const TimeSignalOutcome& outcome) {
  if (!outcome.speech_text.empty()) return outcome.speech_text;
  std::string text;
  for (const ComposedItem& item : outcome.items) {
    std::string name;
    switch (item.kind) {
      case ComposedItem::Kind::kVoiceFile:
        name = item.text;
        break;
      case ComposedItem::Kind::kAddOn:
        name = "AddOn" + std::to_string(item.number);
        break;
      case ComposedItem::Kind::kAddOff:
        name = "AddOff" + std::to_string(item.number);
        break;
      case ComposedItem::Kind::kReport:
        continue;
    }
    text += (text.empty() ? "" : " ") + name;
  }
  return text;
}

}  // namespace

FiringKind FiringKindOf(TCommandType cmd) {
  switch (cmd) {
    case ctSpeak:
      return FiringKind::kSpeak;
    case ctTime:
      return FiringKind::kTime;
    case ctWave:
      return FiringKind::kWave;
    case ctMidi:
      return FiringKind::kMidi;
  }
  return FiringKind::kSpeak;
}

FiringOutlet::FiringOutlet(Log& log, const HolidayCalendar& holidays,
                           std::function<void()> enable_skip,
                           std::function<void(const std::string&)> show_panel)
    : log_(log),
      holidays_(holidays),
      enable_skip_(std::move(enable_skip)),
      show_panel_(std::move(show_panel)) {}

void FiringOutlet::PassedOver(const TSchedule& entry, WallMoment due, std::string text,
                              std::string reason) {
  if (recorder_ != nullptr) {
    recorder_->Record({due, FiringKindOf(entry.Cmd), std::move(text), true, std::move(reason)});
  }
}

void FiringOutlet::CountPassedOver(WallMoment at, std::string text, std::string reason) {
  if (recorder_ != nullptr) {
    recorder_->Record({at, FiringKind::kCount, std::move(text), true, std::move(reason)});
  }
}

void FiringOutlet::Fire(const TSchedule& entry, WallMoment at, TDateTime announced, TDateTime now) {
  if (recorder_ != nullptr) {
    recorder_->Record({at, FiringKindOf(entry.Cmd),
                       entry.Cmd == ctSpeak ? SpeakTextFor(entry, announced, holidays_) : entry.Msg,
                       false, ""});
    return;
  }
  switch (entry.Cmd) {
    case ctSpeak:
      FireSpeak(*playback_, entry, announced, holidays_, at);
      break;
    case ctWave:
      FireWave(*playback_, entry, now, at);
      break;
    case ctMidi:
      FireMidi(*playback_, entry, now);
      break;
    case ctTime:
      break;  // announced through the time signal
  }
}

void FiringOutlet::PlayChime(const std::string& path, WallMoment mark_at) {
  if (recorder_ != nullptr) {
    recorder_->Record({mark_at, FiringKind::kWave, path, false, ""});
    return;
  }
  playback_->SetWaveCount(path, 1, mark_at);
}

void FiringOutlet::Announced(WallMoment at, FiringKind kind, const TimeSignalOutcome& outcome) {
  if (recorder_ != nullptr) recorder_->Record({at, kind, OutcomeText(outcome), false, ""});
}

bool FiringOutlet::IsTimeSignalQueued() const {
  return recorder_ == nullptr && playback_->IsTimeSignalQueued();
}

void FiringOutlet::SetTimeSignal(SharedVoiceImage image, std::vector<int32_t> fragments, int repeat,
                                 std::optional<WallMoment> start_at) {
  if (recorder_ == nullptr) playback_->SetTimeSignal(image, fragments, repeat, start_at);
}

void FiringOutlet::SetMessageCount(const std::string& text, int volume, int count,
                                   std::optional<WallMoment> start_at) {
  if (recorder_ == nullptr) playback_->SetMessageCount(text, volume, count, start_at);
}

void FiringOutlet::AddLogLine(const std::string& text) { log_.AddLogLine(text); }

}  // namespace chimewell
