// The clock window on a real X server: what the screen shows, read back pixel by pixel.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMenu>
#include <QWindow>

#include "app_harness.h"
#include "face_reference.h"
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

// The screen shows the bitmap as it is now, above the status line.
auto ShowsBitmapOf(TMainForm& form) {
  return [&form](const QImage& shot) {
    const QImage& bitmap = form.Image1().Canvas().Image();
    const QRect face(0, 0, bitmap.width(), form.StatusLabel().geometry().top());
    return shot.copy(face) == bitmap.copy(face).convertToFormat(shot.format());
  };
}

TEST(ClockScreenshotTest, DefaultFaceKeepsTheDateLineIntactThroughRepaintsAboveTheStatusLine) {
  AppHarness h;
  h.StartUp();
  ASSERT_TRUE(WaitExposed(h.form));
  h.app.Timer1Timer(true);  // full drawing at 09:05:07
  const QImage alone = testing::DateLineAlone(ClockSettings{}, h.clock.Now(), h.form.size());

  QImage shot = GrabWhen(ClientOnScreen(h.form), ShowsBitmapOf(h.form));
  shot.save("ui_clock_face.png");
  ASSERT_TRUE(ShowsBitmapOf(h.form)(shot));
  EXPECT_EQ(testing::DateLineDamage(shot, alone, kDefaultBackground), 0)
      << "after the full drawing";
  for (int i = 0; i < 4; ++i) {  // seconds repainted in place, the date line untouched
    h.clock.Advance(1000);
    h.timer.FireNow();
  }
  shot = GrabWhen(ClientOnScreen(h.form), ShowsBitmapOf(h.form));
  ASSERT_TRUE(ShowsBitmapOf(h.form)(shot)) << "09:05:11 reached the screen";
  EXPECT_EQ(testing::DateLineDamage(shot, alone, kDefaultBackground), 0) << "after the repaints";

  // Every text of the face ends above the status line at the default window size.
  const QRect status = h.form.StatusLabel().geometry();
  const QImage& bitmap = h.form.Image1().Canvas().Image();
  int lowest_ink = -1;
  for (int y = 0; y < bitmap.height(); ++y) {
    if (CountPixels(bitmap, QRect(0, y, bitmap.width(), 1), kDefaultBackground) < bitmap.width()) {
      lowest_ink = y;
    }
  }
  EXPECT_LT(lowest_ink, status.top()) << "status line from row " << status.top();
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
