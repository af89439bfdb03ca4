// Noticing "do not disturb" on a real session bus of the test's own, where a stand-in service
// holds the desktop's setting; and the watcher without any session bus.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/linux/desktop_busy_watcher_linux.h"
#include "support/busy_log.h"
#include "support/fake_dnd_service.h"
#include "support/session_bus.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using testing::BusyLog;
using testing::FakeDndService;

class DndWatchTest : public ::testing::TestWithParam<FakeDndService::Kind> {
 protected:
  void SetUp() override {
    if (!testing::SessionBus::Installed()) GTEST_SKIP() << "dbus-daemon not installed";
    // GNOME's settings kept in memory: the user's own are neither read nor written.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    // No sound server: only the bus is looked at.
    setenv("PULSE_SERVER", (runtime_.path() / "no-server").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
    ASSERT_TRUE(bus_.Start());
  }

  testing::TempDir runtime_;
  testing::SessionBus bus_;
  BusyLog log_;
  LinuxDesktopBusyWatcher watcher_;
};

TEST_P(DndWatchTest, TheServicesSettingFlipsQuietOnAndOff) {
  FakeDndService service(GetParam(), false);
  ASSERT_TRUE(service.Ready());
  log_.Listen(watcher_);
  service.Set(true);
  ASSERT_TRUE(log_.WaitFor(BusyLog::Quiet));
  EXPECT_TRUE(watcher_.Current().Busy());
  service.Set(false);
  ASSERT_TRUE(log_.WaitFor(BusyLog::NotQuiet));
  EXPECT_FALSE(watcher_.Current().Busy());
}

TEST_P(DndWatchTest, AServiceThatAppearsLaterIsReadAndOneThatLeavesIsQuietNoMore) {
  log_.Listen(watcher_);
  auto service = std::make_unique<FakeDndService>(GetParam(), true);
  ASSERT_TRUE(service->Ready());
  ASSERT_TRUE(log_.WaitFor(BusyLog::Quiet));
  service.reset();
  ASSERT_TRUE(log_.WaitFor(BusyLog::NotQuiet));
  EXPECT_EQ(log_.States().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(KdeAndXfce, DndWatchTest,
                         ::testing::Values(FakeDndService::Kind::kNotifications,
                                           FakeDndService::Kind::kXfconf),
                         [](const auto& info) {
                           return info.param == FakeDndService::Kind::kNotifications ? "Kde"
                                                                                      : "Xfce";
                         });

TEST(GnomeDndTest, HiddenBannersAreQuiet) {
  setenv("GSETTINGS_BACKEND", "memory", 1);
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.notifications", TRUE)
             : nullptr;
  if (schema == nullptr) GTEST_SKIP() << "GNOME's notification settings are not installed";
  testing::TempDir runtime;
  testing::SessionBus bus;
  setenv("PULSE_SERVER", (runtime.path() / "no-server").c_str(), 1);
  ASSERT_TRUE(bus.Start());
  // The memory backend is one per process: the watcher sees what the test sets.
  GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
  g_settings_schema_unref(schema);
  BusyLog log;
  {
    LinuxDesktopBusyWatcher watcher;
    log.Listen(watcher);
    g_settings_set_boolean(settings, "show-banners", FALSE);
    EXPECT_TRUE(log.WaitFor(BusyLog::Quiet));
    g_settings_set_boolean(settings, "show-banners", TRUE);
    EXPECT_TRUE(log.WaitFor(BusyLog::NotQuiet));
  }
  g_object_unref(settings);
}

TEST(NoSessionBusTest, IsToldOnceAndTheDesktopIsNeverBusy) {
  testing::TempDir runtime;
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  setenv("PULSE_SERVER", (runtime.path() / "no-server").c_str(), 1);
  BusyLog log;
  LinuxDesktopBusyWatcher watcher;
  log.Listen(watcher);
  // Both halves have told theirs once the sound server's has come.
  ASSERT_TRUE(log.WaitUnavailable());
  ASSERT_TRUE(
      testing::WaitUntil(std::chrono::seconds(10), [&] { return log.Unavailable().size() >= 2; }));
  auto reasons = log.Unavailable();
  std::sort(reasons.begin(), reasons.end());
  EXPECT_EQ(reasons,
            (std::vector{BusyUnavailable::kNoSoundServer, BusyUnavailable::kNoSessionBus}));
  EXPECT_FALSE(watcher.Current().Busy());
  EXPECT_TRUE(log.States().empty());
}

}  // namespace
}  // namespace chimewell
