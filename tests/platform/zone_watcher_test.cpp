// The time-zone watcher on a zone file of the test's own, replaced by rename as setting the
// zone replaces /etc/localtime.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "core/local_time.h"
#include "platform/linux/inotify_zone_watcher.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kWinter = 1796000000000;  // 2026/11/30
const fs::path kZoneInfo = "/usr/share/zoneinfo";

TEST(ZoneWatcherTest, AZoneFileReplacedByRenameIsReadAnewAtOnce) {
  const testing::TempDir dir;
  const fs::path zone = dir / "localtime";
  fs::copy_file(kZoneInfo / "Europe/London", zone);
  const char* old_tz = std::getenv("TZ");
  const std::string saved = old_tz != nullptr ? old_tz : "";
  setenv("TZ", zone.c_str(), 1);
  ReloadLocalZone();
  EXPECT_EQ(UtcOffsetMs(kWinter), 0);

  std::mutex mutex;
  std::condition_variable told;
  std::vector<int64_t> offsets;  // the offset read at each notice
  {
    InotifyZoneWatcher watcher;
    watcher.Watch([&] {
      ReloadLocalZone();
      const std::lock_guard lock(mutex);
      offsets.push_back(UtcOffsetMs(kWinter));
      told.notify_all();
    });
    // Other files of the folder are no change of zone: the first notice comes with the rename.
    fs::copy_file(kZoneInfo / "Asia/Tokyo", dir / "localtime.new");
    const auto start = std::chrono::steady_clock::now();
    fs::rename(dir / "localtime.new", zone);
    std::unique_lock lock(mutex);
    ASSERT_TRUE(told.wait_for(lock, std::chrono::seconds(10), [&] { return !offsets.empty(); }));
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("zone followed %.2f ms after the rename\n", took.count());
    EXPECT_EQ(offsets.front(), 9 * 3600000);
  }
  if (old_tz != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  ReloadLocalZone();
}

}  // namespace
}  // namespace chimewell
