// The window with the application behind it, on the offscreen platform: layout through the
// start-up stages, the menu, the panels, keys and clicks.
#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include "app_harness.h"
#include "app/menu_state.h"

namespace chimewell {
namespace {

using testing::AppHarness;
using testing::ReadBytes;
using testing::WriteBytes;

std::vector<std::string> Captions(const QMenu& menu) {
  std::vector<std::string> out;
  for (const QAction* action : menu.actions()) {
    out.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  }
  return out;
}

TEST(MainFormTest, StartUpStagesLayTheWindowOutAndSwapTheAboutBoxForTheStatusLine) {
  AppHarness h;
  h.app.FormCreate();
  // Until the deferred start the panel is an about box in the middle of the window.
  EXPECT_TRUE(h.form.About().isVisibleTo(&h.form));
  EXPECT_EQ(h.form.About().geometry(), QRect((391 - 249) / 2, (287 - 121) / 2, 249, 121));
  EXPECT_EQ(h.form.About().VersionLabel().text().toStdString(), h.app.VersionText());
  EXPECT_TRUE(h.form.About().VersionLabel().text().startsWith("Version "));
  EXPECT_TRUE(h.form.About().VersionLabel().alignment() & Qt::AlignRight);
  EXPECT_FALSE(h.form.About().PortEdit().isVisibleTo(&h.form));
  EXPECT_FALSE(h.form.StatusLabel().isVisibleTo(&h.form));

  h.form.Start();
  EXPECT_TRUE(h.form.isVisible());
  EXPECT_EQ(h.form.windowTitle(), "Chimewell");
  EXPECT_EQ(h.form.pos(), QPoint(245, 106));
  EXPECT_EQ(h.form.size(), QSize(391, 287));
  EXPECT_EQ(h.form.Image1().geometry(), h.form.rect());
  EXPECT_EQ(h.timer.Interval(), 1500);

  h.timer.FireNow();
  EXPECT_FALSE(h.form.About().isVisibleTo(&h.form));
  // From now on the panel, when shown, is the port setting.
  EXPECT_FALSE(h.form.About().PortEdit().isHidden());
  EXPECT_EQ(h.form.About().PortEdit().text(), "8080");
  EXPECT_TRUE(h.form.StatusLabel().isVisibleTo(&h.form));
  EXPECT_EQ(h.form.StatusLabel().text().toStdString(), " スケジュールはセットされていません");
  EXPECT_EQ(h.form.StatusLabel().geometry().bottom(), h.form.rect().bottom());
  // The window shows, so the tick re-arms for 1 ms after the next full second (at 09:05:07.000).
  EXPECT_EQ(h.timer.Interval(), 1001);
}

TEST(MainFormTest, MenuCarriesTheCaptionsAndFollowsTheCheckMarks) {
  AppHarness h;
  h.StartUp();
  QMenu& menu = h.form.PopupMenu1().Menu();
  EXPECT_EQ(Captions(menu),
            (std::vector<std::string>{"設定の表示と編集 &Edit Config...",
                                      "ポート設定 P&ort Setting...", "-", "終了 E&xit", "-",
                                      "作者のページを表示 &Velnor Page...",
                                      "時計画面の表示と非表示 Show/Hide &Clock", "-",
                                      "現在の時報を発声 Current &Time", "秒カウント &Second Count",
                                      "一時停止／再開 &Pause", "消音 &Mute",
                                      "現在の演奏/再生を飛ばす Ski&p",
                                      "現在待ちの演奏/再生を全て削除する Clear &All"}));
  QMenu* count = menu.actions()[9]->menu();
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(Captions(*count), (std::vector<std::string>{"&0 カウントの解除", "&1 5秒毎", "&2 10秒毎",
                                                        "&3 15秒毎", "&4 30秒毎", "&5 60秒毎"}));
  EXPECT_TRUE(count->actions()[0]->isChecked());

  // Choosing a count item moves the radio mark, and the tick takes the count up.
  count->actions()[3]->trigger();
  EXPECT_FALSE(count->actions()[0]->isChecked());
  EXPECT_TRUE(count->actions()[3]->isChecked());
  EXPECT_EQ(h.app.Menu().CountInterval(), 15);
  EXPECT_TRUE(h.form.StatusLabel().text().startsWith("【１５秒毎カウント】"));

  QAction& pause = h.form.PopupMenu1().Action(MenuItem::PM_Pause);
  QAction& mute = h.form.PopupMenu1().Action(MenuItem::PM_Mute);
  pause.trigger();
  mute.trigger();
  EXPECT_TRUE(pause.isChecked());
  EXPECT_TRUE(mute.isChecked());
  EXPECT_FALSE(h.form.PopupMenu1().Action(MenuItem::PM_Skip).isEnabled());
  EXPECT_FALSE(h.timer.Enabled());
  EXPECT_TRUE(h.form.StatusLabel().text().startsWith("【消音】【一時停止】"));
  pause.trigger();
  EXPECT_FALSE(pause.isChecked());
  EXPECT_TRUE(h.timer.Enabled());
}

TEST(MainFormTest, F1OpensTheMenuAtTheWindowsTopLeftCorner) {
  AppHarness h;
  h.StartUp();
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(&h.form, &release);
  QMenu& menu = h.form.PopupMenu1().Menu();
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(menu.pos(), QPoint(245, 106));
  menu.hide();
}

TEST(MainFormTest, MessagePanelStacksLinesInsideTheWindowAndOkHidesIt) {
  AppHarness h;
  h.StartUp();
  h.app.ShowPanelMessage("一行目");
  h.app.ShowPanelMessage("二行目");
  MessagePanelView& panel = h.form.MessagePanel();
  EXPECT_TRUE(panel.isVisibleTo(&h.form));
  EXPECT_EQ(panel.geometry(), QRect(40, 40, 391 - 80, 287 - 80));
  EXPECT_EQ(panel.MessageButton().geometry().topLeft(),
            QPoint((311 - panel.MessageButton().width()) / 2, 207 - 40));
  EXPECT_EQ(panel.MessageLabel().text(), "一行目\n二行目");
  EXPECT_EQ(panel.MessageLabel().y(), 21);
  panel.MessageButton().click();
  EXPECT_FALSE(panel.isVisibleTo(&h.form));
}

TEST(MainFormTest, PortPanelRejectsBadPortsAndStoresAGoodOne) {
  AppHarness h;
  h.StartUp();
  h.form.PopupMenu1().Action(MenuItem::PM_About).trigger();
  AboutPanel& panel = h.form.About();
  ASSERT_TRUE(panel.isVisibleTo(&h.form));
  EXPECT_EQ(panel.PortLabel().text().toStdString(), "設定ページのポート:");
  EXPECT_EQ(panel.PortButton().text(), "OK");
  EXPECT_EQ(panel.CancelButton().text().toStdString(), "キャンセル");

  panel.PortEdit().setText("70000");
  panel.PortButton().click();
  EXPECT_TRUE(panel.isVisibleTo(&h.form));
  EXPECT_EQ(h.form.MessagePanel().MessageLabel().text().toStdString(),
            "ポート番号は 1～65535 の範囲です");

  // Cancel closes the panel and shows the port in use again.
  panel.PortEdit().setText("9999");
  panel.CancelButton().click();
  EXPECT_FALSE(panel.isVisibleTo(&h.form));
  EXPECT_EQ(panel.PortEdit().text(), "8080");

  h.form.PopupMenu1().Action(MenuItem::PM_About).trigger();
  panel.PortEdit().setText("8081");
  panel.PortButton().click();
  EXPECT_FALSE(panel.isVisibleTo(&h.form));
  EXPECT_NE(ReadBytes(h.dir / "chimewell.ini").find("PortNumber=8081"), std::string::npos);
}

TEST(MainFormTest, DoubleClickAndAuthorLinkReachTheCommandHandler) {
  AppHarness h;
  WriteBytes(h.dir / "chimewell.ini", "[Config]\r\nDoubleClick=2\r\n");
  WriteBytes(h.dir / "chimewell.imi", "[App]\r\nMyPageURL=https://example.org/author\r\n");
  h.StartUp();
  QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(50, 50), QPointF(50, 50), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&h.form.Image1(), &twice);
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                 Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&h.form.About().CopyrightLabel(), &up);
  EXPECT_EQ(h.shell.opened, (std::vector<std::string>{"http://localhost:8080/",
                                                      "https://example.org/author"}));
  EXPECT_TRUE(h.form.About().CopyrightLabel().font().underline());
}

TEST(MainFormTest, WithoutAnAuthorPageTheLinkIsPlainAndDoesNothing) {
  AppHarness h;
  h.StartUp();
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                 Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&h.form.About().CopyrightLabel(), &up);
  EXPECT_TRUE(h.shell.opened.empty());
  EXPECT_TRUE(h.form.About().CopyrightLabel().font().italic());
  EXPECT_FALSE(h.form.MessagePanel().isVisibleTo(&h.form));
}

TEST(MainFormTest, MinimisingHidesAndShowHideClockBringsTheWindowBackTicking) {
  AppHarness h;
  h.StartUp();
  h.form.setWindowState(Qt::WindowMinimized);
  h.Settle();
  EXPECT_FALSE(h.form.isVisible());
  EXPECT_FALSE(h.form.isMinimized());
  // Hidden, with nothing scheduled, the next tick leaves the timer off.
  h.clock.Advance(1000);
  h.timer.FireNow();
  EXPECT_FALSE(h.timer.Enabled());
  h.form.PopupMenu1().Action(MenuItem::PM_Clock).trigger();
  EXPECT_TRUE(h.form.isVisible());
  EXPECT_TRUE(h.timer.Enabled());
}

TEST(MainFormTest, PortSettingOnAHiddenClockShowsItAndRestartsTheSecondTick) {
  AppHarness h;
  h.StartUp();
  h.form.HideWindow();
  h.clock.Advance(1000);
  h.timer.FireNow();
  ASSERT_FALSE(h.timer.Enabled());
  h.form.PopupMenu1().Action(MenuItem::PM_About).trigger();
  EXPECT_TRUE(h.form.isVisible());
  EXPECT_TRUE(h.timer.Enabled());
}

TEST(MainFormTest, HeadlessFormStartsTheApplicationWithoutShowing) {
  AppHarness h(/*headless=*/true);
  h.StartUp();
  EXPECT_FALSE(h.form.isVisible());
  EXPECT_FALSE(h.form.IsShowing());
  EXPECT_TRUE(h.app.Running());
  h.form.ShowWindow();
  EXPECT_FALSE(h.form.isVisible());
}

TEST(MainFormTest, SpeechAnimationShowsOnlyWithLipsViewOn) {
  AppHarness h;
  WriteBytes(h.dir / "chimewell.ini", "[Config]\r\nLipsView=1\r\n");
  h.StartUp();
  h.app.DirectSS1AudioStart();
  EXPECT_TRUE(h.form.DirectSS1().isVisibleTo(&h.form));
  EXPECT_EQ(h.form.DirectSS1().geometry(), h.form.rect());
  h.app.DirectSS1AudioStop();
  EXPECT_FALSE(h.form.DirectSS1().isVisibleTo(&h.form));

  AppHarness off;
  off.StartUp();
  off.app.DirectSS1AudioStart();
  EXPECT_FALSE(off.form.DirectSS1().isVisibleTo(&off.form));
}

TEST(MainFormTest, EachSecondOnlyTheChangedDigitsGoToTheScreen) {
  AppHarness h;
  h.StartUp();
  h.app.Timer1Timer(true);  // full drawing at 09:05:07
  EXPECT_EQ(h.form.Image1().LastPresented(), h.form.Image1().rect());
  // Glyph edges just outside the opaque band are blended again at each repaint of the hour and
  // minute until they saturate, so the pixels only repeat exactly after the first seconds.
  for (int i = 0; i < 12; ++i) {
    h.clock.Advance(1000);
    h.timer.FireNow();
  }
  h.clock.Advance(1000);
  h.timer.FireNow();  // the hour, minute and marker are repainted with the same pixels
  const QRect sent = h.form.Image1().LastPresented();
  ASSERT_FALSE(sent.isEmpty());
  EXPECT_GE(sent.left(), 200) << "only the seconds, which end at x 300";
  EXPECT_LE(sent.right(), 300);
  EXPECT_GE(sent.top(), 200);
}

TEST(MainFormTest, ClosingTheWindowWritesThePlacementOnce) {
  AppHarness h;
  h.StartUp();
  h.form.SetBounds({300, 200, 420, 300});
  h.form.close();
  EXPECT_EQ(ReadBytes(h.dir / "chimewell.ini"),
            "[App]\nWidth=420\nHeight=300\nLeft=300\nTop=200\n");
  EXPECT_FALSE(h.form.isVisible());
}

}  // namespace
}  // namespace chimewell
