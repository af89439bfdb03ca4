// chimewell-tool jiho: which fragments a time-signal format plays at a moment, and its report.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "timesignal/time_signal.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

constexpr const char* kUsage =
    "jiho --type N [--variant V] [--folder DIR] [--addonN PATH] [--addoffN PATH] "
    "[--at \"yyyy/mm/dd hh:nn:ss\"] FORMAT";

struct JihoArgs {
  JihoSettings jiho;
  std::optional<TDateTime> at;
  std::optional<std::string> format;
};

std::optional<int> ParseInt(const std::string& text) {
  try {
    size_t used = 0;
    const int value = std::stoi(text, &used);
    if (used == text.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

// "--addon3" gives 3 for prefix "--addon"; nullopt when it is not that option or out of 1..16.
std::optional<int> NumberedOption(const std::string& arg, const std::string& prefix) {
  if (arg.rfind(prefix, 0) != 0) return std::nullopt;
  const auto n = ParseInt(arg.substr(prefix.size()));
  if (!n || *n < 1 || *n > kAddOnCount) return std::nullopt;
  return n;
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
    if (arg.rfind("--", 0) != 0) {
      if (out.format) return "only one FORMAT may be given";
      out.format = arg;
      continue;
    }
    if (i + 1 >= args.size()) return arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "--type" || arg == "--variant") {
      const auto n = ParseInt(value);
      if (!n) return arg + " needs a whole number, not \"" + value + "\"";
      (arg == "--type" ? out.jiho.Type : out.jiho.MLVC) = *n;
      have_type |= arg == "--type";
    } else if (arg == "--folder") {
      out.jiho.Folder = value;
    } else if (arg == "--at") {
      out.at = ParseDateTime(value);
      if (!out.at) return "--at needs \"yyyy/mm/dd hh:nn:ss\", not \"" + value + "\"";
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
  return std::nullopt;
}

// Keeps what the announcement would show; the tool has no worker to queue on.
struct PrintingOutput final : TimeSignalOutput {
  bool IsTimeSignalQueued() const override { return false; }
  void SetTimeSignal(SharedVoiceImage, std::vector<int32_t>, int) override {}
  void SetMessageCount(const std::string& text, int, int) override { spoken = text; }
  void EnableSkip() override {}
  void AddLogLine(const std::string&) override {}
  void ShowPanelMessage(const std::string& text) override { std::cerr << text; }

  std::string spoken;
};

int Run(const std::vector<std::string>& args) {
  JihoArgs parsed;
  if (const auto error = ParseArgs(args, parsed)) return UsageError(*error);
  SystemClock clock;
  const TDateTime moment = parsed.at.value_or(clock.Now());

  RealFileSystem files;
  PrintingOutput output;
  TimeSignal time_signal(files, output);
  time_signal.LoadTimeSignalSettings(parsed.jiho);
  const TimeSignalOutcome outcome = time_signal.PlayTimeSignal(*parsed.format, 1, moment);

  if (parsed.jiho.Type == 0) {
    std::cout << "speech\t" << outcome.speech_text << "\n";
    return 0;
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
  return 0;
}

const CommandRegistrar reg("jiho", kUsage, &Run);

}  // namespace
}  // namespace chimewell::tool
