#include "web/test_commands.h"

#include "app/application.h"
#include "web/form_fields.h"
#include "core/html_escape.h"
#include "web/form_texts.h"
#include "web/param_decoding.h"

namespace chimewell {
namespace {

// Splits at the first `separator`: the text before it, and the rest after it. Without the
// separator the first part is empty and the rest is the whole text.
std::pair<std::string_view, std::string_view> SplitAt(std::string_view text, char separator) {
  const size_t at = text.find(separator);
  if (at == std::string_view::npos) return {std::string_view(), text};
  return {text.substr(0, at), text.substr(at + 1)};
}

int Part(std::string_view text) { return FormInteger(text, -1); }

}  // namespace

TDateTime ParseTestMoment(std::string_view date, std::string_view time) {
  const auto [year, month_day] = SplitAt(date, '/');
  const auto [month, day] = SplitAt(month_day, '/');
  const auto [hour, minute_second] = SplitAt(time, ':');
  const auto [minute, second] = SplitAt(minute_second, '.');
  const DateTimeParts parts{Part(year),   Part(month),  Part(day), Part(hour),
                            Part(minute), Part(second), 0};
  return TryEncodeDateTime(parts).value_or(0.0);
}

TDateTime ParseTestMoment(const DecodedParams& params) {
  return ParseTestMoment(GetParam(params, "DATE"), GetParam(params, "TIME"));
}

TestCommand ChooseTestCommand(const DecodedParams& params) {
  if (IsPresent(params, "JIHOTEST")) return TestCommand::kTimeSignal;
  if (IsPresent(params, "MSGTEST")) return TestCommand::kMessage;
  if (IsPresent(params, "WAVETEST")) return TestCommand::kWave;
  if (IsPresent(params, "MIDITEST")) return TestCommand::kMidi;
  return TestCommand::kNone;
}

namespace {

// False, with the reason on the page, when what the test plays would not be heard.
bool CanBeHeard(RequestContext& ctx, bool speaks) {
  const std::string why = ctx.app.WhyTestIsSilent(speaks);
  if (why.empty()) return true;
  ctx.error_text = HtmlEscape(why);
  return false;
}

// Plays the file named by `field` once, as a due schedule entry of `kind` would.
void PlayTestFile(RequestContext& ctx, std::string_view field, TCommandType kind) {
  if (!ctx.app.TestPlayFile(ctx.Param(field), kind)) {
    ctx.error_text = form_texts::kNoSuchFile;
  } else if (CanBeHeard(ctx, false)) {
    ctx.AddNotice(std::string(form_texts::kPlayingFile));
  }
}

}  // namespace

bool HandleTestCommand(RequestContext& ctx) {
  const DecodedParams& params = ctx.request.ParamList;
  Application& app = ctx.app;
  // A test saves nothing, so its problems are not headed as settings that were not saved.
  ctx.error_heading = ProblemHeading::kFound;
  switch (ChooseTestCommand(params)) {
    case TestCommand::kNone:
      return false;
    case TestCommand::kTimeSignal:
    case TestCommand::kMessage: {
      const TDateTime moment = ParseTestMoment(params);
      const bool time_signal = ctx.Has("JIHOTEST");
      const bool speaks = !time_signal || app.TimeSignalData().Settings().VoiceType == 0;
      if (moment <= 0) {
        ctx.error_text = form_texts::kBadTestMoment;
      } else if (!CanBeHeard(ctx, speaks)) {
        // Nothing is queued that could not be heard.
      } else if (time_signal) {
        app.TestPlayTimeSignal(ctx.Param("JIHOSTR"), moment);
        ctx.AddNotice(std::string(form_texts::kPlayingTimeSignal));
      } else {
        app.TestPlayMessage(ctx.Param("MSGSTR"), moment);
        ctx.AddNotice(std::string(form_texts::kPlayingMessage));
      }
      break;
    }
    case TestCommand::kWave:
      PlayTestFile(ctx, "WAVEFILE", ctWave);
      break;
    case TestCommand::kMidi:
      PlayTestFile(ctx, "MIDIFILE", ctMidi);
      break;
  }
  return true;
}

}  // namespace chimewell
