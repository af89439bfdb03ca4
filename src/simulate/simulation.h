#pragma once
// The real application object over a home folder, run in virtual time: its real tick,
// schedule, time signal and second count, with a recording playback that plays nothing and
// takes no time. The preview of what the clock will say, and the test bed of its timing.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/firing_record.h"
#include "platform/desktop_busy_state.h"
#include "platform/file_system.h"
#include "platform/ui_thread.h"
#include "simulate/quiet_platform.h"
#include "simulate/virtual_clock.h"
#include "simulate/virtual_timer.h"
#include "simulate/virtual_zone.h"

namespace chimewell {

// Something that happens to the machine at a wall-clock moment.
struct ClockEvent {
  enum class Kind { kSuspend, kStep };
  Kind kind = Kind::kSuspend;
  WallMoment at;
  std::chrono::seconds length{0};  // how long it sleeps, or how far the clock is set (negative: back)
};

// The machine's time zone set anew at a wall-clock moment, as a traveller's laptop is.
struct ZoneChange {
  WallMoment at;
  std::string zone;  // a name under the zone folder, such as "Asia/Tokyo"
};

// The desktop busy from one wall-clock moment until another: a call, Do Not Disturb or both.
struct BusySpell {
  WallMoment from;
  WallMoment until;
  DesktopBusyState state;
};

struct SimulationPlan {
  std::string home;  // the folder with chimewell.ini and chimewell.sch
  std::string chimes;  // the built-in chimes' folder (empty: none)
  WallMoment from;
  WallMoment until;
  bool hidden = false;            // the window hidden (else showing)
  int count_interval = 0;         // the second count: 0 (off), 5, 10, 15, 30 or 60
  std::optional<int> late_limit;  // overrides the settings file
  std::vector<ClockEvent> events;
  std::vector<ZoneChange> zone_changes;
  std::vector<BusySpell> busy;
  // The timetable the page chose for the first day (empty: none that day), as 「今日は …」.
  std::optional<std::string> today_timetable;
};

// One simulation; single-threaded, owns everything it runs.
class Simulation final : private FiringRecorder {
 public:
  explicit Simulation(const SimulationPlan& plan);
  ~Simulation() override;
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  // Starts the program at `from` and runs it to `until`, handing each firing to `on_firing`
  // as it happens. False, having run nothing, when the first day's timetable is not one the
  // calendar knows.
  bool Run(const std::function<void(const FiringRecord&)>& on_firing);

  Application& App() { return app_; }

 private:
  void Record(FiringRecord record) override;
  // Moves virtual time to `at` (never back: a shot already due fires where time stands).
  void PassTo(WallMoment at);
  void Apply(const ClockEvent& event);

  // The desktop's state from a moment on, as the spells overlap.
  struct BusyChange {
    WallMoment at;
    DesktopBusyState state;
  };
  static std::vector<BusyChange> BusyChanges(const std::vector<BusySpell>& spells);

  SimulationPlan plan_;
  VirtualClock clock_;
  VirtualTimer timer_;
  InlineUiThread ui_;
  NoShell shell_;
  RealFileSystem files_;
  QuietSound sound_;
  QuietSpeech speech_;
  QuietMidi midi_;
  NoFonts fonts_;
  QuietView view_;
  VirtualZone zone_;
  Application app_;
  std::vector<BusyChange> busy_changes_;
  const std::function<void(const FiringRecord&)>* on_firing_ = nullptr;
};

}  // namespace chimewell
