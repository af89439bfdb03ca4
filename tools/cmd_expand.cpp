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

const CommandRegistrar reg("expand", kUsage, &Run);

}  // namespace
}  // namespace chimewell::tool
