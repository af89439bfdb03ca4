// Voice type 0: the announcement is spoken by the speech engine.
#include "timesignal/time_signal.h"

namespace chimewell {

void TimeSignal::PlaySpoken(std::string_view, int, TDateTime, TimeSignalOutcome&) {
  // INTERIM: replaced once the template expansion is available.
}

}  // namespace chimewell
