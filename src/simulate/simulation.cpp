#include "simulate/simulation.h"

#include <algorithm>

#include "app/app_paths.h"

namespace chimewell {

Simulation::Simulation(const SimulationPlan& plan)
    : plan_(plan),
      clock_(plan.from),
      timer_(clock_),
      view_(!plan.hidden),
      app_(AppDependencies{clock_, timer_, ui_, shell_, files_, sound_, speech_, midi_, fonts_,
                           view_, nullptr, PathsInHome(plan.home)}) {
  std::stable_sort(plan_.events.begin(), plan_.events.end(),
                   [](const ClockEvent& a, const ClockEvent& b) {
                     return a.at < b.at;
                   });
  std::stable_sort(plan_.zone_changes.begin(), plan_.zone_changes.end(),
                   [](const ZoneChange& a, const ZoneChange& b) {
                     return a.at < b.at;
                   });
  app_.SetFiringRecorder(this);
  app_.WatchZone(zone_);
}

Simulation::~Simulation() { app_.SetFiringRecorder(nullptr); }

void Simulation::Run(const std::function<void(const FiringRecord&)>& on_firing) {
  on_firing_ = &on_firing;
  app_.ChooseCount(plan_.count_interval);
  app_.FormCreate();
  app_.FormShow();
  if (plan_.late_limit) app_.OverrideLateLimit(*plan_.late_limit);

  auto event = plan_.events.begin();
  auto zone = plan_.zone_changes.begin();
  for (;;) {
    const std::optional<WallMoment> shot = timer_.DueWall();
    // Of a zone change and a clock event at one moment, the zone changes first.
    const bool zone_next = zone != plan_.zone_changes.end() &&
                           (event == plan_.events.end() || zone->at <= event->at);
    std::optional<WallMoment> happening;
    if (zone_next) happening = zone->at;
    if (!zone_next && event != plan_.events.end()) happening = event->at;
    const bool event_first = happening && (!shot || *happening <= *shot);
    const WallMoment next = event_first ? *happening : shot.value_or(plan_.until);
    if (next > plan_.until || (!shot && !event_first)) break;
    PassTo(next);
    if (!event_first) {
      timer_.FireNow();
    } else if (zone_next) {
      zone_.Set((zone++)->zone);
    } else {
      Apply(*event++);
    }
  }
  PassTo(plan_.until);
  on_firing_ = nullptr;
}

void Simulation::Record(FiringRecord record) {
  if (on_firing_ != nullptr) (*on_firing_)(record);
}

void Simulation::PassTo(WallMoment at) {
  const WallMoment now = clock_.WallNow();
  if (at > now) clock_.Pass(std::chrono::duration_cast<std::chrono::milliseconds>(at - now));
}

void Simulation::Apply(const ClockEvent& event) {
  clock_.MoveWall(event.length);
  // A wall-clock deadline passed during a sleep fires on waking as time moves on; a step
  // cancels it at once.
  if (event.kind == ClockEvent::Kind::kStep) timer_.ClockWasSet();
}

}  // namespace chimewell
