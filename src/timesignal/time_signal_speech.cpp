// Voice type 0: the announcement is spoken by the speech engine.
#include "core/speech_text.h"
#include "timesignal/time_signal.h"

namespace chimewell {

void TimeSignal::PlaySpoken(const Request& request, TimeSignalOutcome& outcome) {
  // Speech has no voice image to protect, so it queues behind whatever is waiting.
  outcome.speech_text = SpokenText(request.format, request.moment);
  output_.SetMessageCount(outcome.speech_text, default_volume_, request.repeat, request.start_at);
  outcome.queued = true;
}

std::string TimeSignal::SpokenText(std::string_view format, TDateTime moment) const {
  return settings_.VoiceType == 0 ? ExpandSpeechText(format, moment, holidays_) : std::string();
}

}  // namespace chimewell
