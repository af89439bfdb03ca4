// The Qt timer and the hand-off to the GUI thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <stdexcept>
#include <thread>

#include "ui/qt_timer.h"
#include "ui/qt_ui_thread.h"

namespace chimewell {
namespace {

// Runs the event loop until `done` holds; the guard only stops a broken test from hanging.
template <typename Done>
bool SpinUntil(Done done, int guard_ms = 10000) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > guard_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

TEST(QtTimerTest, FiresOnceAndReArmingReplacesThePendingShot) {
  QtTimer timer;
  int fired = 0;
  timer.SetHandler([&] { ++fired; });
  timer.Arm(60 * 60 * 1000);
  EXPECT_TRUE(timer.Enabled());
  timer.Arm(1);  // replaces the hour-long shot
  ASSERT_TRUE(SpinUntil([&] { return fired == 1; }));
  EXPECT_FALSE(timer.Enabled());
  timer.Arm(1);
  timer.Disable();
  timer.Arm(1);
  ASSERT_TRUE(SpinUntil([&] { return fired == 2; }));
  EXPECT_EQ(fired, 2);
}

TEST(QtTimerTest, WallClockDeadlinesFireWhenReachedOrAtOnceWhenPassed) {
  QtTimer timer;
  int fired = 0;
  timer.SetHandler([&] { ++fired; });
  const auto wall_now = [] { return WallMoment::FromUnixMs(QDateTime::currentMSecsSinceEpoch()); };
  const WallMoment now = wall_now();
  timer.ArmAt(now - std::chrono::minutes(1));  // passed (the machine slept through it): at once
  ASSERT_TRUE(SpinUntil([&] { return fired == 1; }, 2000));
  EXPECT_FALSE(timer.Enabled());
  timer.ArmAt(now + std::chrono::hours(1));
  timer.ArmAt(wall_now() + std::chrono::milliseconds(30));  // replaces the hour-away deadline
  ASSERT_TRUE(SpinUntil([&] { return fired == 2; }));
  EXPECT_GE(wall_now(), now + std::chrono::milliseconds(30));
  // An elapsed-time shot and a deadline replace each other.
  timer.ArmAt(now - std::chrono::milliseconds(1));
  timer.Arm(60 * 60 * 1000);
  SpinUntil([] { return false; }, 100);
  EXPECT_EQ(fired, 2);
  EXPECT_TRUE(timer.Enabled());
  timer.Disable();
  EXPECT_FALSE(timer.Enabled());
}

TEST(QtUiThreadTest, WorkerStepsRunOnTheGuiThreadAndErrorsComeBack) {
  QtUiThread ui;
  QThread* gui = QThread::currentThread();
  bool ran_on_gui = false;
  bool error_returned = false;
  std::vector<int> order;
  std::atomic<bool> worker_done = false;
  std::thread worker([&] {
    ui.RunSync([&] { ran_on_gui = QThread::currentThread() == gui; });
    try {
      ui.RunSync([] { throw std::runtime_error("no"); });
    } catch (const std::runtime_error&) {
      error_returned = true;
    }
    ui.Post([&] { order.push_back(1); });
    ui.Post([&] { order.push_back(2); });
    worker_done = true;
  });
  ASSERT_TRUE(SpinUntil([&] { return worker_done && order.size() == 2; }));
  worker.join();
  EXPECT_TRUE(ran_on_gui);
  EXPECT_TRUE(error_returned);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));

  // On the GUI thread itself RunSync runs at once and Post waits for the loop.
  int here = 0;
  ui.RunSync([&] { here = 1; });
  ui.Post([&] { here = 2; });
  EXPECT_EQ(here, 1);
  ASSERT_TRUE(SpinUntil([&] { return here == 2; }));
}

}  // namespace
}  // namespace chimewell
