// How soon a change of time zone is followed: from the rename that puts a new zone file in
// place (as setting the zone does) to local time read in the new zone, through the real
// inotify watcher.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

#include "core/local_time.h"
#include "platform/linux/inotify_zone_watcher.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kWinter = 1796000000000;  // 2026/11/30, no daylight saving either side
constexpr int64_t kTokyoOffsetMs = 9 * 3600000;

void BM_ZoneChangeFollowed(benchmark::State& state) {
  const testing::TempDir dir;
  const fs::path zone = dir / "localtime";
  const fs::path zoneinfo = "/usr/share/zoneinfo";
  fs::copy_file(zoneinfo / "Europe/London", zone);
  const char* old_tz = std::getenv("TZ");
  const std::string saved = old_tz != nullptr ? old_tz : "";
  setenv("TZ", zone.c_str(), 1);
  ReloadLocalZone();

  std::mutex mutex;
  std::condition_variable seen;
  int64_t offset = UtcOffsetMs(kWinter);
  {
    InotifyZoneWatcher watcher;
    watcher.Watch([&] {
      ReloadLocalZone();
      const std::lock_guard lock(mutex);
      offset = UtcOffsetMs(kWinter);
      seen.notify_all();
    });
    bool tokyo = false;
    for (auto _ : state) {
      tokyo = !tokyo;
      const int64_t wanted = tokyo ? kTokyoOffsetMs : 0;
      fs::copy_file(zoneinfo / (tokyo ? "Asia/Tokyo" : "Europe/London"), dir / "next",
                    fs::copy_options::overwrite_existing);
      const auto start = std::chrono::steady_clock::now();
      fs::rename(dir / "next", zone);
      std::unique_lock lock(mutex);
      if (!seen.wait_for(lock, std::chrono::seconds(5), [&] { return offset == wanted; })) {
        state.SkipWithError("the new zone was not seen within 5 s");
        break;
      }
      state.SetIterationTime(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
  }
  if (old_tz != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  ReloadLocalZone();
}
BENCHMARK(BM_ZoneChangeFollowed)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
}  // namespace chimewell
