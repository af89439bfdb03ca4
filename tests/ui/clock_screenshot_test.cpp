// The clock window on a real X server: what the screen shows, read back pixel by pixel.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMenu>
#include <QWindow>

#include "app_harness.h"
#include "screen_pixels.h"

namespace chimewell {
namespace {

using testing::AppHarness;
using testing::CountDarkPixels;
using testing::CountPixels;
using testing::GrabWhen;
using testing::kDefaultBackground;

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlue = 0x0000FF;
// The hour and minute band of the default layout, and a spot no text reaches.
const QRect kHourMinuteBand(0, 20, 391, 120);
const QPoint kEmptySpot(385, 160);

bool WaitExposed(QWidget& window) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
    if (elapsed.elapsed() > 20000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

QRect ClientOnScreen(QWidget& window) { return {window.mapToGlobal(QPoint(0, 0)), window.size()}; }

// A fresh drawing of the face shows on screen when the empty spot has the background colour and
// the hour band holds enough of `ink`.
auto ShowsFaceIn(QRgb ink) {
  return [ink](const QImage& shot) {
    return (shot.pixel(kEmptySpot) & 0xFFFFFF) == kDefaultBackground &&
           CountPixels(shot, kHourMinuteBand, ink) > 300;
  };
}

TEST(ClockScreenshotTest, FaceInDefaultColoursRedBeforeNoonBlueAfterAndTheStatusLine) {
  AppHarness h;
  h.StartUp();
  ASSERT_TRUE(WaitExposed(h.form));
  h.app.Timer1Timer(true);  // the first timer-driven tick draws the face (09:05:07)

  QImage morning = GrabWhen(ClientOnScreen(h.form), ShowsFaceIn(kRed));
  morning.save("ui_clock_morning.png");
  EXPECT_EQ(morning.pixel(kEmptySpot) & 0xFFFFFF, kDefaultBackground);
  EXPECT_GT(CountPixels(morning, kHourMinuteBand, kRed), 300);
  EXPECT_EQ(CountPixels(morning, kHourMinuteBand, kBlue), 0);

  const QRect status = h.form.StatusLabel().geometry();
  EXPECT_EQ(h.form.StatusLabel().text().toStdString(), " スケジュールはセットされていません");
  EXPECT_GT(CountDarkPixels(morning, status), 20) << "the status text is drawn";
  EXPECT_EQ(CountDarkPixels(morning, QRect(0, 0, 391, 14)), 0) << "nothing but the face above";

  h.clock.Set(testing::MorningOf(15, 7, 0));
  h.timer.FireNow();  // a new minute: full drawing in the afternoon colours
  QImage afternoon = GrabWhen(ClientOnScreen(h.form), ShowsFaceIn(kBlue));
  afternoon.save("ui_clock_afternoon.png");
  EXPECT_GT(CountPixels(afternoon, kHourMinuteBand, kBlue), 300);
  EXPECT_EQ(CountPixels(afternoon, kHourMinuteBand, kRed), 0);
  EXPECT_EQ(afternoon.pixel(kEmptySpot) & 0xFFFFFF, kDefaultBackground);
}

TEST(ClockScreenshotTest, F1MenuOpensOnScreenAtTheWindowCornerWithItsCaptions) {
  AppHarness h;
  h.StartUp();
  ASSERT_TRUE(WaitExposed(h.form));
  h.form.activateWindow();
  h.form.PopupMenuAtWindowCorner();
  QMenu& menu = h.form.PopupMenu1().Menu();
  ASSERT_TRUE(menu.isVisible());
  EXPECT_EQ(menu.pos(), h.form.pos());
  EXPECT_EQ(menu.actions().front()->text().toStdString(), "設定の表示と編集 &Edit Config...");
  EXPECT_EQ(menu.actions().back()->text().toStdString(),
            "現在待ちの演奏/再生を全て削除する Clear &All");
  // The menu really covers the window's corner on screen.
  const QImage shot = GrabWhen(QRect(menu.pos(), menu.size()), [](const QImage& image) {
    return CountDarkPixels(image, image.rect()) > 200;
  });
  shot.save("ui_menu.png");
  EXPECT_GT(CountDarkPixels(shot, shot.rect()), 200);
  menu.hide();
}

}  // namespace
}  // namespace chimewell
