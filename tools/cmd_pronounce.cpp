// chimewell-tool pronounce: how the speech engine will read texts, such as the user's own
// messages. Prints one line per text: the text as the engine receives it, a tab, and the
// engine's pronunciation in katakana.
#include <cstdio>
#include <string>
#include <vector>

#include "core/speech_readings.h"
#include "platform/linux/open_jtalk_pronunciation.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

constexpr char kUsage[] = "pronounce TEXT...";

int Run(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: chimewell-tool %s\n", kUsage);
    return 2;
  }
  std::string problem;
  const OpenJTalkSetup setup = FindOpenJTalk({}, &problem);
  std::vector<std::string> sent;
  for (const std::string& text : args) sent.push_back(ApplySpeechReadings(text));
  const auto heard = problem.empty() ? ReadPronunciations(setup, sent, &problem) : std::nullopt;
  if (!heard) {
    std::fprintf(stderr, "pronounce: %s\n", problem.c_str());
    return 1;
  }
  for (size_t i = 0; i < sent.size(); ++i) {
    std::printf("%s\t%s\n", sent[i].c_str(), PronunciationText((*heard)[i]).c_str());
  }
  return 0;
}

constexpr char kDetails[] =
    "Shows how the speech engine will read each TEXT, after the clock's reading rules: one\n"
    "line per text, the text as the engine receives it, a tab, and its pronunciation in\n"
    "katakana.\n";

const CommandRegistrar reg("pronounce", kUsage, &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
