#include "simulate/simulation.h"

#include <algorithm>

#include "app/app_paths.h"

namespace chimewell {
namespace {

AppPaths PathsOf(const SimulationPlan& plan) {
  AppPaths paths = PathsInHome(plan.home);
  paths.chimes = plan.chimes;
  return paths;
}

}  // namespace

Simulation::Simulation(const SimulationPlan& plan)
    : plan_(plan),
      clock_(plan.from),
      timer_(clock_),
      view_(!plan.hidden),
      app_(AppDependencies{clock_, timer_, ui_, shell_, files_, sound_, speech_, midi_, fonts_,
                           view_, nullptr, PathsOf(plan)}) {
  std::stable_sort(plan_.events.begin(), plan_.events.end(),
                   [](const ClockEvent& a, const ClockEvent& b) {
                     return a.at < b.at;
                   });
  std::stable_sort(plan_.zone_changes.begin(), plan_.zone_changes.end(),
                   [](const ZoneChange& a, const ZoneChange& b) {
                     return a.at < b.at;
                   });
  busy_changes_ = BusyChanges(plan_.busy);
  app_.SetFiringRecorder(this);
  app_.WatchZone(zone_);
}

Simulation::~Simulation() { app_.SetFiringRecorder(nullptr); }

bool Simulation::Run(const std::function<void(const FiringRecord&)>& on_firing) {
  on_firing_ = &on_firing;
  app_.ChooseCount(plan_.count_interval);
  app_.FormCreate();
  app_.FormShow();
  if (plan_.today_timetable && !app_.ChangeToday(*plan_.today_timetable)) {
    on_firing_ = nullptr;
    return false;
  }
  if (plan_.late_limit) app_.OverrideLateLimit(*plan_.late_limit);

  auto event = plan_.events.begin();
  auto zone = plan_.zone_changes.begin();
  auto busy = busy_changes_.begin();
  enum class Happening { kZone, kEvent, kBusy };
  for (;;) {
    const std::optional<WallMoment> shot = timer_.DueWall();
    // The earliest thing that happens to the machine; at one moment a zone change comes
    // first, then a clock event, then the desktop's state.
    std::optional<WallMoment> happening;
    Happening which = Happening::kZone;
    const auto consider = [&](auto it, auto end, Happening kind) {
      if (it != end && (!happening || it->at < *happening)) {
        happening = it->at;
        which = kind;
      }
    };
    consider(zone, plan_.zone_changes.end(), Happening::kZone);
    consider(event, plan_.events.end(), Happening::kEvent);
    consider(busy, busy_changes_.end(), Happening::kBusy);
    const bool happening_first = happening && (!shot || *happening <= *shot);
    const WallMoment next = happening_first ? *happening : shot.value_or(plan_.until);
    if (next > plan_.until || (!shot && !happening_first)) break;
    PassTo(next);
    if (!happening_first) {
      timer_.FireNow();
    } else if (which == Happening::kZone) {
      zone_.Set((zone++)->zone);
    } else if (which == Happening::kEvent) {
      Apply(*event++);
    } else {
      app_.DesktopBusyChanged((busy++)->state);
    }
  }
  PassTo(plan_.until);
  on_firing_ = nullptr;
  return true;
}

std::vector<Simulation::BusyChange> Simulation::BusyChanges(const std::vector<BusySpell>& spells) {
  std::vector<WallMoment> moments;
  for (const BusySpell& spell : spells) {
    moments.push_back(spell.from);
    moments.push_back(spell.until);
  }
  std::sort(moments.begin(), moments.end());
  moments.erase(std::unique(moments.begin(), moments.end()), moments.end());
  std::vector<BusyChange> changes;
  for (const WallMoment at : moments) {
    DesktopBusyState state;
    for (const BusySpell& spell : spells) {
      if (spell.from > at || spell.until <= at) continue;
      state.in_call = state.in_call || spell.state.in_call;
      state.do_not_disturb = state.do_not_disturb || spell.state.do_not_disturb;
    }
    changes.push_back({at, state});
  }
  return changes;
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
