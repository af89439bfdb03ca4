#pragma once
// Runs the program in virtual time in a zone and keeps its firings as lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "core/local_time.h"
#include "simulate/simulation.h"
#include "support/temp_dir.h"

namespace chimewell::testing {

inline constexpr const char* kHourly = "Time \"[hour][min]\" ALL 0\r\n";

// Runs the program in a zone and keeps its firings as "mm/dd hh:nn:ss.zzz+hh kind text".
class SimulationTest : public ::testing::Test {
 protected:
  ~SimulationTest() override {
    if (saved_zone_) {
      setenv("TZ", saved_zone_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  void Zone(const char* zone) {
    if (const char* old = std::getenv("TZ"); old != nullptr && !saved_zone_) saved_zone_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  void Schedule(const std::string& lines) {
    std::ofstream(dir / "chimewell.sch", std::ios::binary) << lines;
  }
  static WallMoment Moment(const char* text) {
    return WallMoment::FromUnixMs(
        WallOfLocal(*ParseDateTime(text), std::numeric_limits<int64_t>::min()));
  }
  SimulationPlan Plan(const char* from, const char* until) {
    SimulationPlan plan;
    plan.home = dir.path().string();
    plan.from = Moment(from);
    plan.until = Moment(until);
    plan.hidden = true;
    return plan;
  }
  // `shift_ms` moves the stamps, to compare a showing window's firings with a hidden one's.
  std::vector<std::string> Run(const SimulationPlan& plan, int64_t shift_ms = 0) {
    Simulation simulation(plan);
    std::vector<std::string> lines;
    simulation.Run([&lines, shift_ms](const FiringRecord& f) {
      static const char* const kKinds[] = {"speak", "time", "wave", "midi", "count"};
      const int64_t at = f.at.UnixMs() + shift_ms;
      const int64_t hours = UtcOffsetMs(at) / 3600000;
      lines.push_back(FormatDateTime("mm/dd hh:nn:ss.zzz", LocalOf(at)) + (hours < 0 ? "-" : "+") +
                      std::to_string(hours < 0 ? -hours : hours) + " " +
                      kKinds[static_cast<int>(f.kind)] + " " + (f.skipped ? "skipped" : f.text));
    });
    log = simulation.App().Logs().Lines();
    panel = simulation.App().Panel().Text();
    return lines;
  }

  TempDir dir;
  std::vector<std::string> log;
  std::string panel;
  std::optional<std::string> saved_zone_;
};

using Lines = std::vector<std::string>;

}  // namespace chimewell::testing
