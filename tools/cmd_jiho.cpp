// chimewell-tool jiho: which fragments a time-signal format plays at a moment, and its report.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio_tool_args.h"
#include "core/datetime.h"
#include "platform/file_system.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/mixer.h"
#include "platform/mixer_sound_player.h"
#include "platform/system_clock.h"
#include "playback/time_signal_sequence.h"
#include "timesignal/messages.h"
#include "timesignal/time_signal.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

constexpr const char* kUsage =
    "jiho --type N [--variant V] [--folder DIR] [--addonN PATH] [--addoffN PATH] "
    "[--at \"yyyy/mm/dd hh:nn:ss\"] [--play [--audio SINK]] FORMAT";

struct JihoArgs {
  JihoSettings jiho;
  std::optional<TDateTime> at;
  std::optional<std::string> format;
  bool play = false;
  std::optional<AudioSinkSpec> audio;
};

// "--addon3" gives 3 for prefix "--addon"; nullopt when it is not that option or out of 1..16.
std::optional<int> NumberedOption(const std::string& arg, const std::string& prefix) {
  if (arg.rfind(prefix, 0) != 0) return std::nullopt;
  return ParseInt(arg.substr(prefix.size()), 1, kAddOnCount);
}

int UsageError(const std::string& why) {
  std::fprintf(stderr, "jiho: %s\nusage: chimewell-tool %s\n", why.c_str(), kUsage);
  return 2;
}

// Returns an error text, or nothing when the arguments are complete.
std::optional<std::string> ParseArgs(const std::vector<std::string>& args, JihoArgs& out) {
  bool have_type = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--play") {
      out.play = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      if (out.format) return "only one FORMAT may be given";
      out.format = arg;
      continue;
    }
    if (i + 1 >= args.size()) return arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "--type" || arg == "--variant") {
      const auto n = ParseInt(value, -999999999, 999999999);
      if (!n) return arg + " needs a whole number, not \"" + value + "\"";
      (arg == "--type" ? out.jiho.Type : out.jiho.MLVC) = *n;
      have_type |= arg == "--type";
    } else if (arg == "--folder") {
      out.jiho.Folder = value;
    } else if (arg == "--at") {
      out.at = ParseDateTime(value);
      if (!out.at) return "--at needs \"yyyy/mm/dd hh:nn:ss\", not \"" + value + "\"";
    } else if (arg == "--audio") {
      out.audio = ParseAudioSinkSpec(value);
      if (!out.audio) return std::string(kAudioSinkUsage) + ", not \"" + value + "\"";
    } else if (const auto n = NumberedOption(arg, "--addon")) {
      out.jiho.AddOn[*n - 1] = value;
    } else if (const auto n = NumberedOption(arg, "--addoff")) {
      out.jiho.AddOff[*n - 1] = value;
    } else {
      return "unknown option " + arg;
    }
  }
  if (!have_type) return "--type is required";
  if (!out.format) return "FORMAT is required";
  if (out.audio && !out.play) return "--audio goes with --play";
  return std::nullopt;
}

// Keeps what the announcement would show; the tool has no worker to queue on.
struct PrintingOutput final : TimeSignalOutput {
  bool IsTimeSignalQueued() const override { return false; }
  void SetTimeSignal(SharedVoiceImage, std::vector<int32_t>, int,
                     std::optional<WallMoment>) override {}
  void SetMessageCount(const std::string&, int, int, std::optional<WallMoment>) override {}
  void EnableSkip() override {}
  void AddLogLine(const std::string&) override {}
  void ShowPanelMessage(const std::string& text) override { std::cerr << text; }
};

// Plays the announcement to its end, the way the message worker plays it.
int Play(const TimeSignalOutcome& outcome, int type, const AudioSinkSpec& audio) {
  auto sink = OpenToolSink(audio);
  if (!sink) return 1;
  Mixer mixer(std::move(sink));
  mixer.Start();
  bool failed = false;
  if (type == 0) {
    OpenJTalkSpeech speech(mixer, [&failed](const std::string& message) {
      std::fprintf(stderr, "%s\n", message.c_str());
      failed = true;
    });
    speech.SpeakText(outcome.speech_text);
    while (speech.Speaking() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } else {
    MixerSoundPlayer player(mixer);
    const ResolvedFragments& resolved = outcome.resolved;
    for (const TimeSignalStep& step :
         BuildTimeSignalSequence(resolved.image, resolved.fragments, 1)) {
      if (step.kind == TimeSignalStep::Kind::kFragment) {
        player.PlayMemory(step.image->FileAt(step.offset));
      } else if (step.kind == TimeSignalStep::Kind::kBuiltIn) {
        player.PlayBuiltIn();
      }
    }
  }
  mixer.Stop();
  return failed ? 1 : 0;
}

int Run(const std::vector<std::string>& args) {
  JihoArgs parsed;
  if (const auto error = ParseArgs(args, parsed)) return UsageError(*error);
  SystemClock clock;
  const TDateTime moment = parsed.at.value_or(clock.Now());

  RealFileSystem files;
  PrintingOutput output;
  TimeSignal time_signal(files, output);
  const std::string load_report = time_signal.LoadTimeSignalSettings(parsed.jiho);
  // Only a played announcement depends on the voice files being there.
  if (parsed.play && !load_report.empty()) {
    std::cerr << timesignal_text::kLoadFailed << "\r\n" << load_report;
  }
  const TimeSignalOutcome outcome = time_signal.PlayTimeSignal(*parsed.format, 1, moment);

  if (parsed.jiho.Type == 0) {
    std::cout << "speech\t" << outcome.speech_text << "\n" << std::flush;
    return parsed.play ? Play(outcome, 0, parsed.audio.value_or(AudioToolArgs{}.audio)) : 0;
  }
  for (const ComposedItem& item : outcome.items) {
    switch (item.kind) {
      case ComposedItem::Kind::kVoiceFile:
        std::cout << item.text << "\n";
        break;
      case ComposedItem::Kind::kAddOn:
        std::cout << parsed.jiho.AddOn[item.number - 1] << "\n";
        break;
      case ComposedItem::Kind::kAddOff:
        std::cout << parsed.jiho.AddOff[item.number - 1] << "\n";
        break;
      case ComposedItem::Kind::kReport:
        break;
    }
  }
  std::cout << std::flush;
  if (!parsed.play || !outcome.queued) return 0;
  return Play(outcome, parsed.jiho.Type, parsed.audio.value_or(AudioToolArgs{}.audio));
}

constexpr char kDetails[] =
    "Shows what a time-signal format announces at a moment: for speech (type 0) the word\n"
    "\"speech\" and the text, for a recorded voice set (types 1 to 5) the voice files in the "
    "order\n"
    "they play.\n"
    "  --type N              kind of time signal, 0 to 5 (required)\n"
    "  --variant V           variation of voice type 3\n"
    "  --folder DIR          folder of the voice set's WAVE files\n"
    "  --addonN, --addoffN   the add-on and add-off sound files 1 to 16\n"
    "  --at MOMENT           the moment to announce instead of now\n"
    "  --play                also play the announcement to its end\n";

const CommandRegistrar reg("jiho", kUsage, &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
