// chimewell-tool simulate: what the clock over a home folder would say between two moments,
// run in virtual time, with sleeps and clock steps on the way.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "audio_tool_args.h"
#include "core/datetime.h"
#include "core/local_time.h"
#include "core/settings.h"
#include "simulate/simulation.h"
#include "tool_command.h"
#include "user_files.h"

namespace chimewell::tool {
namespace {

constexpr const char* kUsage =
    "simulate --home DIR --from \"yyyy/mm/dd hh:nn:ss\" --until \"yyyy/mm/dd hh:nn:ss\" "
    "[--tz ZONE] [--hidden] [--count N] [--late-limit S] "
    "[--suspend \"yyyy/mm/dd hh:nn:ss\" SECONDS]... [--step \"yyyy/mm/dd hh:nn:ss\" SECONDS]... "
    "[--tz-change \"yyyy/mm/dd hh:nn:ss\" ZONE]... "
    "[--busy \"yyyy/mm/dd hh:nn:ss\" \"yyyy/mm/dd hh:nn:ss\"]... "
    "[--dnd \"yyyy/mm/dd hh:nn:ss\" \"yyyy/mm/dd hh:nn:ss\"]... [--today TIMETABLE]";

// Moments are read once the zone is in place; until then they are kept as typed.
struct PendingEvent {
  ClockEvent::Kind kind;
  std::string at;
  int seconds;
};

struct PendingZoneChange {
  std::string at;
  std::string zone;
};

struct PendingBusy {
  std::string from;
  std::string until;
  bool do_not_disturb;
};

struct SimulateArgs {
  SimulationPlan plan;
  std::string from;
  std::string until;
  std::optional<std::string> zone;
  std::vector<PendingEvent> events;
  std::vector<PendingZoneChange> zone_changes;
  std::vector<PendingBusy> busy;
};

bool IsDirectory(const std::string& path) {
  struct stat info{};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsKnownZone(const std::string& zone) {
  if (zone.empty() || zone[0] == '/' || zone.find("..") != std::string::npos) return false;
  const char* dir = std::getenv("TZDIR");
  struct stat info{};
  const std::string path = std::string(dir != nullptr && *dir != '\0' ? dir : "/usr/share/zoneinfo") +
                           "/" + zone;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> ParseArgs(const std::vector<std::string>& args, SimulateArgs& out) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--hidden") {
      out.plan.hidden = true;
      continue;
    }
    if (i + 1 >= args.size()) return arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "--home") {
      out.plan.home = value;
    } else if (arg == "--from") {
      out.from = value;
    } else if (arg == "--until") {
      out.until = value;
    } else if (arg == "--today") {
      out.plan.today_timetable = value;
    } else if (arg == "--tz") {
      out.zone = value;
    } else if (arg == "--count") {
      const auto n = ParseInt(value, 1, 60);
      if (!n || CountItemFor(*n) == MenuItem::PM_TempCountOff) {
        return "--count takes 5, 10, 15, 30 or 60, not \"" + value + "\"";
      }
      out.plan.count_interval = *n;
    } else if (arg == "--late-limit") {
      const auto n = ParseInt(value, 0, kMaxLateLimit);
      if (!n) return "--late-limit takes 0 to 86400 seconds, not \"" + value + "\"";
      out.plan.late_limit = *n;
    } else if (arg == "--suspend" || arg == "--step") {
      if (i + 1 >= args.size()) return arg + " needs a moment and SECONDS";
      const bool suspend = arg == "--suspend";
      const auto n = ParseInt(args[++i], suspend ? 0 : -999999999, 999999999);
      if (!n) return arg + " needs whole SECONDS" + (suspend ? " (0 or more)" : "") + ", not \"" +
                     args[i] + "\"";
      out.events.push_back({suspend ? ClockEvent::Kind::kSuspend : ClockEvent::Kind::kStep, value, *n});
    } else if (arg == "--busy" || arg == "--dnd") {
      if (i + 1 >= args.size()) return arg + " needs two moments";
      out.busy.push_back({value, args[++i], arg == "--dnd"});
    } else if (arg == "--tz-change") {
      if (i + 1 >= args.size()) return arg + " needs a moment and a ZONE";
      const std::string& zone = args[++i];
      if (!IsKnownZone(zone)) return "unknown time zone " + zone;
      out.zone_changes.push_back({value, zone});
    } else {
      return "unknown option " + arg;
    }
  }
  if (out.plan.home.empty() || out.from.empty() || out.until.empty()) {
    return "--home, --from and --until are required";
  }
  if (!IsDirectory(out.plan.home)) return "no home folder " + out.plan.home;
  return std::nullopt;
}

// A local moment in the zone now in force; the first of two in a repeated hour.
std::optional<WallMoment> ReadMoment(const std::string& text) {
  const auto local = ParseDateTime(text);
  if (!local) return std::nullopt;
  return WallMoment::FromUnixMs(WallOfLocal(*local, std::numeric_limits<int64_t>::min()));
}

// Puts the zone in place and reads every moment; returns the problem, if any.
std::optional<std::string> ResolveTimes(SimulateArgs& args) {
  if (args.zone) {
    if (!IsKnownZone(*args.zone)) return "unknown time zone " + *args.zone;
    setenv("TZ", args.zone->c_str(), 1);
  }
  tzset();
  const auto from = ReadMoment(args.from);
  if (!from) return "--from needs \"yyyy/mm/dd hh:nn:ss\", not \"" + args.from + "\"";
  const auto until = ReadMoment(args.until);
  if (!until) return "--until needs \"yyyy/mm/dd hh:nn:ss\", not \"" + args.until + "\"";
  if (*until < *from) return "--until is before --from";
  args.plan.from = *from;
  args.plan.until = *until;
  std::optional<std::string> bad_moment;
  const auto moment = [&bad_moment](const std::string& text) {
    const auto at = ReadMoment(text);
    if (!at) bad_moment = "a moment needs \"yyyy/mm/dd hh:nn:ss\", not \"" + text + "\"";
    return at.value_or(WallMoment());
  };
  for (const PendingEvent& pending : args.events) {
    args.plan.events.push_back(
        {pending.kind, moment(pending.at), std::chrono::seconds(pending.seconds)});
  }
  for (const PendingZoneChange& pending : args.zone_changes) {
    args.plan.zone_changes.push_back({moment(pending.at), pending.zone});
  }
  for (const PendingBusy& pending : args.busy) {
    const WallMoment from = moment(pending.from);
    const WallMoment until = moment(pending.until);
    if (!bad_moment && until <= from) {
      bad_moment = "a busy time ends after it begins, not at \"" + pending.until + "\"";
    }
    DesktopBusyState state;
    (pending.do_not_disturb ? state.do_not_disturb : state.in_call) = true;
    args.plan.busy.push_back({from, until, state});
  }
  return bad_moment;
}

const char* KindName(FiringKind kind) {
  switch (kind) {
    case FiringKind::kSpeak: return "speak";
    case FiringKind::kTime: return "time";
    case FiringKind::kWave: return "wave";
    case FiringKind::kMidi: return "midi";
    case FiringKind::kCount: return "count";
  }
  return "?";
}

// "yyyy/mm/dd hh:nn:ss.zzz+hh:mm" in the local time of the moment.
std::string StampOf(WallMoment at) {
  const auto offset_min = std::chrono::duration_cast<std::chrono::minutes>(UtcOffset(at)).count();
  const int64_t magnitude = offset_min < 0 ? -offset_min : offset_min;
  char zone[16];
  std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset_min < 0 ? '-' : '+',
                static_cast<int>(magnitude / 60), static_cast<int>(magnitude % 60));
  return FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz", LocalOf(at)) + zone;
}

int Run(const std::vector<std::string>& args) {
  SimulateArgs parsed;
  auto problem = ParseArgs(args, parsed);
  if (!problem) problem = ResolveTimes(parsed);
  if (problem) {
    std::fprintf(stderr, "simulate: %s\n", problem->c_str());
    return 2;
  }
  parsed.plan.chimes = ChimeFolder();
  Simulation simulation(parsed.plan);
  std::string line;
  const bool ran = simulation.Run([&line](const FiringRecord& firing) {
    line = StampOf(firing.at);
    line += '\t';
    line += KindName(firing.kind);
    line += '\t';
    if (firing.skipped) {
      line += "skipped";
      if (!firing.reason.empty()) line += " " + firing.reason;
      line += '\t';
    }
    line += firing.text;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
  });
  if (!ran) {
    std::fprintf(stderr, "simulate: the calendar (chimewell.cal) names no timetable \"%s\"\n",
                 parsed.plan.today_timetable->c_str());
    return 2;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

constexpr const char* kDetails =
    "Runs the clock over the settings, schedule and days off (chimewell.hol) in DIR in virtual\n"
    "time, playing nothing, from --from to --until (local times in ZONE, by default the machine's\n"
    "zone). One line per firing: the moment it plays (yyyy/mm/dd hh:nn:ss.zzz and the UTC\n"
    "offset), the kind (speak, time, wave, midi, count) and what is said or played,\n"
    "TAB-separated; a firing not played shows the moment it was due, \"skipped\" and why\n"
    "(時間切れ: slept or stepped over past LateLimit; 静かな時間; 通話中; おやすみモード),\n"
    "then what it would have said or played.\n"
    "  --hidden          the window hidden (default: showing)\n"
    "  --count N         the second count every N (5, 10, 15, 30, 60) seconds\n"
    "  --late-limit S    overrides LateLimit of the settings file\n"
    "  --suspend AT S    at AT the machine sleeps S seconds\n"
    "  --step AT S       at AT the clock is set by S seconds (negative: back)\n"
    "  --tz-change AT Z  at AT the machine's time zone becomes Z (a name such as Asia/Tokyo)\n"
    "  --busy FROM TO    a call keeps the desktop busy from FROM until TO\n"
    "  --dnd FROM TO     Do Not Disturb is on from FROM until TO\n"
    "  --today NAME      the first day runs timetable NAME (なし: none), as the page's\n"
    "                    「今日は …」 sets it; the calendar's choice is back at midnight\n"
    "While the desktop is busy (and QuietWhenBusy is on) a firing waits: it plays when the\n"
    "desktop is free again within LateLimit of its moment, at that moment and naming it, or\n"
    "is skipped. The quiet hours of the settings (QuietFrom, QuietTo, QuietDays) keep firings\n"
    "and the count silent: they are skipped too.\n"
    "The timetables follow the calendar chimewell.cal; their entries are named as the others.\n"
    "Every moment given is a local time in the zone of the start (--tz, or the machine's).\n";

const CommandRegistrar reg("simulate", kUsage, &Run, kDetails);

}  // namespace
}  // namespace chimewell::tool
