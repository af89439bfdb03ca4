// Voice type 0: the announcement is spoken by the speech engine.
#include "core/speech_text.h"
#include "timesignal/time_signal.h"

namespace chimewell {

void TimeSignal::PlaySpoken(std::string_view format, int repeat, TDateTime moment,
                            TimeSignalOutcome& outcome) {
  // Speech has no voice image to protect, so it queues behind whatever is waiting.
  outcome.speech_text = ExpandSpeechText(format, moment);
  output_.SetMessageCount(outcome.speech_text, default_volume_, repeat);
  outcome.queued = true;
}

}  // namespace chimewell
