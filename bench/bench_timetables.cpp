// A school year in virtual time: four timetables picked by a calendar of weekdays, holidays,
// vacations and ten one-off days, run by the real application in `simulate`. Figures: how long
// the year takes, how many firings it gave, and whether they equal, firing for firing, the
// list the calendar implies (worked out here day by day, apart from the program's own rules).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "core/local_time.h"
#include "simulate/simulation.h"

namespace chimewell {
namespace {

namespace fs = std::filesystem;

// Each timetable's bells: minutes of the day.
const std::map<std::string, std::vector<int>> kBells = {
    {"通常",
     {8 * 60 + 40, 9 * 60 + 30, 9 * 60 + 40, 10 * 60 + 30, 10 * 60 + 40, 11 * 60 + 30, 11 * 60 + 40,
      12 * 60 + 30, 13 * 60 + 15, 14 * 60 + 5, 14 * 60 + 15, 15 * 60 + 5}},
    {"短縮",
     {8 * 60 + 40, 9 * 60 + 20, 9 * 60 + 30, 10 * 60 + 10, 10 * 60 + 20, 11 * 60, 11 * 60 + 10,
      11 * 60 + 50}},
    {"集会", {8 * 60 + 30, 9 * 60 + 30, 9 * 60 + 40, 10 * 60 + 30}},
    {"テスト", {8 * 60 + 50, 9 * 60 + 40, 10 * 60, 10 * 60 + 50, 11 * 60 + 10, 12 * 60}},
};
struct Override {
  int month, day;
  const char* name;  // empty: none
};
// The one-off days of 2026/27 (the year runs from April).
const Override kOverrides[] = {
    {4, 6, "集会"}, {4, 7, "短縮"},     {5, 20, "テスト"}, {5, 21, "テスト"}, {7, 17, "短縮"},
    {9, 1, "集会"}, {10, 14, "テスト"}, {11, 3, "集会"},   {12, 24, "短縮"},  {3, 19, ""},
};

std::string Calendar() {
  return "日課 通常 短縮 集会 テスト\n平日 通常\n水 短縮\n土 なし\n日 なし\n祝日 なし\n休日 なし\n"
         "2026/07/21-2026/08/31 なし\n2026/12/25-2027/01/07 なし\n2027/03/25-2027/03/31 なし\n"
         "2026/04/06 集会\n2026/04/07 短縮\n2026/05/20 テスト\n2026/05/21 テスト\n"
         "2026/07/17 短縮\n2026/09/01 集会\n2026/10/14 テスト\n2026/11/03 集会\n"
         "2026/12/24 短縮\n2027/03/19 なし\n";
}

// The calendar above, worked out day by day.
std::string TimetableOf(TDateTime day) {
  const DateTimeParts p = DecodeDateTime(day);
  const int ymd = p.year * 10000 + p.month * 100 + p.day;
  for (const Override& o : kOverrides) {
    const int year = o.month >= 4 ? 2026 : 2027;
    if (ymd == year * 10000 + o.month * 100 + o.day) return o.name;
  }
  const auto in = [ymd](int from, int to) { return from <= ymd && ymd <= to; };
  if (in(20260721, 20260831) || in(20261225, 20270107) || in(20270325, 20270331)) {
    return "";
  }
  if (!NationalHolidayName(p.year, p.month, p.day).empty()) return "";
  const int weekday = DayOfWeek(day);  // 1 Sunday
  if (weekday == 1 || weekday == 7) return "";
  return weekday == 4 ? "短縮" : "通常";
}

struct Year {
  fs::path home;
  std::vector<std::string> expected;
  int school_days = 0;
};

Year MakeYear() {
  Year year;
  year.home = fs::temp_directory_path() / ("chimewell-year-" + std::to_string(::getpid()));
  fs::create_directories(year.home);
  std::ofstream(year.home / "chimewell.cal") << Calendar();
  std::ofstream(year.home / "chimewell.ini") << "[Config]\nSpeakOffset=0\n";
  for (const auto& [name, bells] : kBells) {
    std::ofstream script(year.home / ("chimewell." + name + ".sch"));
    for (const int minute : bells) {
      script << "Speak \"" << name << "\" At " << minute / 60 << ":" << minute % 60 << "\r\n";
    }
  }
  for (TDateTime day = *TryEncodeDate(2026, 4, 1); day < *TryEncodeDate(2027, 4, 1); day += 1) {
    const std::string name = TimetableOf(day);
    if (name.empty()) continue;
    ++year.school_days;
    for (const int minute : kBells.at(name)) {
      year.expected.push_back(FormatDateTime("yyyy/mm/dd hh:nn ", day + minute / 1440.0) + name);
    }
  }
  return year;
}

void BM_SchoolYear(benchmark::State& state) {
  setenv("TZ", "Asia/Tokyo", 1);
  tzset();
  const Year year = MakeYear();
  std::vector<std::string> got;
  for (auto _ : state) {
    got.clear();
    SimulationPlan plan;
    plan.home = year.home.string();
    plan.hidden = true;
    plan.from = WallMoment::FromUnixMs(WallOfLocal(*TryEncodeDate(2026, 4, 1), 0));
    plan.until = WallMoment::FromUnixMs(WallOfLocal(*TryEncodeDate(2027, 4, 1), 0));
    Simulation simulation(plan);
    simulation.Run([&got](const FiringRecord& f) {
      got.push_back(FormatDateTime("yyyy/mm/dd hh:nn ", LocalOf(f.at)) + f.text);
    });
  }
  fs::remove_all(year.home);
  size_t first_difference = 0;
  while (first_difference < got.size() && first_difference < year.expected.size() &&
         got[first_difference] == year.expected[first_difference]) {
    ++first_difference;
  }
  if (got != year.expected) {
    std::fprintf(stderr, "first difference at %zu: got \"%s\", expected \"%s\"\n", first_difference,
                 first_difference < got.size() ? got[first_difference].c_str() : "(none)",
                 first_difference < year.expected.size() ? year.expected[first_difference].c_str()
                                                         : "(none)");
  }
  state.counters["school_days"] = year.school_days;
  state.counters["firings"] = static_cast<double>(got.size());
  state.counters["expected"] = static_cast<double>(year.expected.size());
  state.counters["equal"] = got == year.expected ? 1 : 0;
}
BENCHMARK(BM_SchoolYear)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace chimewell
