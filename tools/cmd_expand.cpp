// chimewell-tool expand: shows what a speech text template says at a given moment.
#include <cstdio>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/speech_text.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

constexpr char kUsage[] = "expand TEMPLATE \"yyyy/mm/dd hh:nn:ss\"";

int Run(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: chimewell-tool %s\n", kUsage);
    return 2;
  }
  const auto moment = ParseDateTime(args[1]);
  if (!moment) {
    std::fprintf(stderr, "expand: not a moment of the form yyyy/mm/dd hh:nn:ss: %s\n",
                 args[1].c_str());
    return 2;
  }
  std::printf("%s\n", ExpandSpeechText(args[0], *moment).c_str());
  return 0;
}

constexpr char kDetails[] =
    "Expands a speech template for a moment, as the clock does for the time signal and the\n"
    "date line, and prints the text. TEMPLATE uses the tokens of the time-signal format, such as\n"
    "[hour], [min], [sec], [mon], [day], [wday] and [wa].\n"
    "Example: chimewell-tool expand \"[hour][min]です\" \"2026/12/07 15:00:00\"\n";

const CommandRegistrar reg("expand", kUsage, &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
