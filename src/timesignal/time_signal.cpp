#include "timesignal/time_signal.h"

#include <algorithm>

#include "timesignal/compose_rules.h"
#include "timesignal/messages.h"

namespace chimewell {

namespace text = timesignal_text;

TimeSignal::TimeSignal(const FileSystem& files, TimeSignalOutput& output)
    : files_(files), output_(output) {}

std::string TimeSignal::LoadTimeSignalSettings(const JihoSettings& jiho) {
  return chimewell::LoadTimeSignalSettings(jiho, files_, settings_);
}

TimeSignalOutcome TimeSignal::PlayTimeSignal(std::string_view format, int repeat, TDateTime moment,
                                             std::optional<WallMoment> start_at) {
  TimeSignalOutcome outcome;
  const Request request{format, std::max(repeat, 1), moment, start_at};
  if (settings_.VoiceType == 0) {
    PlaySpoken(request, outcome);
  } else {
    PlayVoiceSet(request, outcome);
  }
  return outcome;
}

void TimeSignal::PlayVoiceSet(const Request& request, TimeSignalOutcome& outcome) {
  const auto [format, repeat, moment, start_at] = request;
  // One voice announcement at a time: a second one due on the same tick would only repeat it.
  if (output_.IsTimeSignalQueued()) {
    outcome.dropped = true;
    return;
  }
  outcome.items = ComposeFragments({settings_.VoiceType, settings_.VoiceVariant, format, moment});
  outcome.resolved = ResolveFragments(outcome.items, settings_, files_);
  ResolvedFragments& resolved = outcome.resolved;

  std::string report = resolved.report;
  if (resolved.fragments.empty()) {
    report += text::kNoFragments;
  } else {
    output_.EnableSkip();
    output_.SetTimeSignal(resolved.image, resolved.fragments, repeat, start_at);
    output_.AddLogLine(
        compose::Concat({"Set[Time]Thread ", format, " repeat:", std::to_string(repeat)}));
    outcome.queued = true;
  }
  resolved.report = report;
  if (!report.empty() && settings_.ShowTimeSignalErrors) {
    output_.ShowPanelMessage(std::string(text::kFormatErrorHeading) + report);
  }
}

}  // namespace chimewell
