// What keeps the clock from sounding: problems reported by the sound and speech pieces, those
// that last until mended (told once, shown at the page's top), and the reasons a test is silent.
#include "app/application.h"
#include "app/texts.h"
#include "platform/platform_texts.h"
#include "platform/speech_control.h"

namespace chimewell {

void Application::ReportProblem(const std::string& message) {
  if (message == platform_texts::kOutputLost) {
    NoteProblem(LastingProblemKind::kSoundOutput, message);
    return;
  }
  if (message == platform_texts::kOutputBack) lasting_.Clear(LastingProblemKind::kSoundOutput);
  // The speech engine tells what it lacks whenever it is asked to speak; start-up told it.
  if (lasting_.Has(message)) return;
  AddLogLine(message);
  ShowPanelMessage(message);
}

void Application::NoteProblem(LastingProblemKind kind, const std::string& text) {
  if (!lasting_.Set(kind, text)) return;
  AddLogLine(text);
  if (deps_.tell_outside) deps_.tell_outside(text);
  ShowPanelMessage(text);
}

void Application::CheckSpeech() {
  const std::string why = deps_.speech.Unavailable();
  if (why.empty()) {
    lasting_.Clear(LastingProblemKind::kSpeech);
  } else {
    NoteProblem(LastingProblemKind::kSpeech, why);
  }
}

std::vector<std::string> Application::CurrentProblems() const { return lasting_.Texts(); }

std::string Application::WhyTestIsSilent(bool speaks) const {
  if (const auto output = lasting_.Of(LastingProblemKind::kSoundOutput)) return *output;
  if (speaks) {
    if (const auto speech = lasting_.Of(LastingProblemKind::kSpeech)) return *speech;
  }
  return {};
}

}  // namespace chimewell
