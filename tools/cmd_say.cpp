// chimewell-tool say: speaks a text with the program's speech and returns when it has been said.
#include <chrono>
#include <thread>

#include "audio_tool_args.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

int Run(const std::vector<std::string>& args) {
  const auto parsed = ParseAudioToolArgs(args, {"--volume", "--audio"});
  if (!parsed) return 2;
  auto sink = OpenToolSink(parsed->audio);
  if (!sink) return 1;
  Mixer mixer(std::move(sink));
  mixer.Start();
  bool failed = false;
  OpenJTalkSpeech speech(mixer, [&failed](const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    failed = true;
  });
  const uint32_t level = static_cast<uint32_t>(parsed->volume) * 65535 / 100;
  speech.SetVolumeLeft(level);
  speech.SetVolumeRight(level);
  speech.SpeakText(parsed->subject);
  while (speech.Speaking() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  mixer.Stop();
  return failed ? 1 : 0;
}

constexpr char kDetails[] =
    "Speaks TEXT (Japanese) with the speech engine and waits until it has been said.\n"
    "  --volume N            volume in percent, 0 to 100 (100 if not given)\n";

const CommandRegistrar reg("say", "say TEXT [--volume N] [--audio SINK]", &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
