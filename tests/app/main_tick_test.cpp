#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "app/app_fixture.h"

namespace chimewell::testing {
namespace {

using MainTick = AppTest;

TEST_F(MainTick, HiddenWindowPreparesTheSpeechThenHandsItOverToStartHalfASecondEarly) {
  WriteFile("chimewell.sch", "Time \"[hour][min]\" At 12:00\r\n");
  view.showing = false;
  clock.Set(At(11, 59, 50));
  Start();
  EXPECT_EQ(view.status, " 次は 12:00.00 の時報");
  // Due at 11:59:59.500 (SpeakOffset early): synthesized from three seconds before, handed to
  // the worker half a second before, to be heard from the due moment on.
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", ArmedFor()), "11:59:56.500");
  FireTimerWhenDue();
  ASSERT_EQ(speech.Prepared().size(), 1u);
  EXPECT_EQ(speech.Prepared()[0].text, "12時");
  EXPECT_TRUE(LogLinesContaining("Set[Message]Thread ").empty());
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", ArmedFor()), "11:59:59.000");

  FireTimerWhenDue();
  const auto queued = LogLinesContaining("Set[Message]Thread ");
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_NE(queued[0].find("Thread 12時 vol=100 count:1"), std::string::npos) << queued[0];
  // The worker speaks on its own thread (after the start-up's warm-up utterance).
  for (int i = 0; i < 5000 && speech.Utterances().size() < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(speech.Utterances().size(), 2u);
  EXPECT_EQ(speech.Utterances()[1].text, "12時");
  EXPECT_EQ(speech.Utterances()[1].placed_at_ms, WallOfLocal(At(11, 59, 59, 500), 0));
  // Fired entries are computed afresh from their moment: tomorrow's, prepared first.
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss.zzz", ArmedFor()), "08 11:59:56.500");
}

TEST_F(MainTick, ShowingWindowTicksJustAfterEachSecondAndBetweenForAHandOver) {
  WriteFile("chimewell.sch", "Time \"[hour][min]\" At 12:00\r\n");
  clock.Set(At(11, 59, 58, 250));
  Start();
  EXPECT_EQ(timer.Interval(), 750);  // the hand-over at 11:59:59.000 comes before .001
  FireTimerWhenDue();
  EXPECT_EQ(LogLinesContaining("Thread 12時 vol=100 count:1").size(), 1u);
  EXPECT_EQ(timer.Interval(), 1001);  // then each second again, from 12:00:00.001
  EXPECT_GT(view.clock_drawings, 0);
}

TEST_F(MainTick, ChangesAndCommandsDropWhatWasPrepared) {
  Start();
  const struct {
    const char* what;
    std::function<void()> act;
  } cases[] = {
      {"pause", [&] { app->ChooseMenuItem(MenuItem::PM_Pause); }},
      {"resume", [&] { app->ChooseMenuItem(MenuItem::PM_Pause); }},
      {"mute", [&] { app->ChooseMenuItem(MenuItem::PM_Mute); }},
      {"skip", [&] { app->PM_MenuClick(MenuItem::PM_Skip); }},
      {"clear all", [&] { app->PM_MenuClick(MenuItem::PM_Clear); }},
      {"schedule reload", [&] { app->ReloadSchedule(); }},
      {"time-signal settings", [&] { app->ReloadTimeSignal(); }},
      {"base settings", [&] { app->ApplyBaseSettings(app->Config(), std::nullopt); }},
  };
  for (const auto& c : cases) {
    const int before = speech.Discards();
    c.act();
    EXPECT_GT(speech.Discards(), before) << c.what;
  }
}

TEST_F(MainTick, SecondCountSpeaksSecondsAndTheHourOnTheMinute) {
  clock.Set(At(9, 59, 14, 0));
  Start();
  app->ChooseMenuItem(MenuItem::PM_TempCount15);
  EXPECT_EQ(view.status, "【１５秒毎カウント】 スケジュールはセットされていません");
  // Count announcements go out SpeakOffset early, for the second they name.
  std::vector<std::string> spoken;
  for (int i = 0; i < 50; ++i) FireTimerWhenDue();
  for (const auto& line : LogLinesContaining("Set[Message]Thread ")) {
    spoken.push_back(line.substr(line.find("Thread ") + 7, line.find(" vol=") - line.find("Thread ") - 7));
  }
  EXPECT_EQ(spoken, (std::vector<std::string>{"15秒", "30秒", "45秒", "10時"}));
}

TEST_F(MainTick, HiddenWindowWithOnlyTheMinuteCountWakesJustAfterTheMinute) {
  view.showing = false;
  clock.Set(At(8, 30, 20, 400));
  Start();
  app->ChooseMenuItem(MenuItem::PM_TempCount60);
  // Prepared three seconds ahead; the count names the minute as SpeakOffset ends.
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", ArmedFor()), "08:30:56.500");
}

TEST_F(MainTick, EntriesDueTogetherFireInListOrderAndTheFirstNamesTheStatusLine) {
  WriteFile("chimewell.sch",
            "Speak \"first\" At 7:30\r\nSpeak \"second\" At 7:30\r\n");
  view.showing = false;
  clock.Set(At(7, 0, 0));
  Start();
  EXPECT_EQ(view.status, " 次は 07:30.00 『first』");
  FireTimerWhenDue();  // prepared
  FireTimerWhenDue();  // handed over
  const auto queued = LogLinesContaining("Set[Message]Thread ");
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_NE(queued[0].find("first"), std::string::npos);
  EXPECT_NE(queued[1].find("second"), std::string::npos);
}

TEST_F(MainTick, DirectRunsFireNothingAndAfterASuspendTheTimerRunsAtOnce) {
  WriteFile("chimewell.sch", "Speak \"[hour][min]です\" At 7:30\r\nSpeak \"late\" At 7:39\r\n");
  view.showing = false;
  clock.Set(At(7, 20, 0));
  Start();
  EXPECT_EQ(view.status, " 次は 07:30.00 『7時30分です』");
  clock.Step(19 * 60 * 1000 + 30 * 1000);  // asleep from 7:20 to 7:39:30
  app->PM_MenuClick(MenuItem::PM_TempCountOff);  // a direct run, as the page makes
  EXPECT_TRUE(LogLinesContaining("Set[Message]Thread ").empty());
  EXPECT_EQ(timer.Interval(), 0);  // the deadline has passed: no waiting for the distance
  FireTimerWhenDue();
  // Half a minute late is within the limit and names the moment it plays; ten minutes is not.
  EXPECT_EQ(LogLinesContaining("Set[Message]Thread late").size(), 1u);
  EXPECT_EQ(LogLinesContaining("見送り 次は 07:30.00 『7時30分です』").size(), 1u);
  EXPECT_EQ(view.panel_text, "1件の予定を見送りました");
  EXPECT_EQ(view.status, " 次は 12/8 7:30 『7時30分です』");  // tomorrow's, with its date
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss.zzz", ArmedFor()), "08 07:29:56.500");
}

TEST_F(MainTick, NothingToDoWhileHiddenLeavesTheTimerOff) {
  view.showing = false;
  Start();
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(view.status, " スケジュールはセットされていません");
}

TEST_F(MainTick, ExitRequestClosesOnTheNextTickAndWritesThePlacement) {
  Start();
  view.bounds = {10, 20, 400, 300};
  app->RequestExit();
  FireTimerWhenDue();
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(timer.Enabled());
  std::ifstream in(dir / "chimewell.ini");
  const std::string ini((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(ini.find("Width=400"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Left=10"), std::string::npos) << ini;
}

TEST_F(MainTick, PauseStopsTheTimerAndResumingRunsATickDirectly) {
  WriteFile("chimewell.sch", "Speak \"hello\" At 7:30\r\n");
  clock.Set(At(7, 29, 59, 0));
  Start();
  app->ChooseMenuItem(MenuItem::PM_Pause);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(view.status, "【一時停止】 次は 07:30.00 『hello』");
  clock.Set(At(7, 31, 0, 200));
  app->ChooseMenuItem(MenuItem::PM_Pause);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_TRUE(LogLinesContaining("Set[Message]Thread ").empty());
  FireTimerWhenDue();  // the first timer-driven tick fires what fell due meanwhile
  EXPECT_EQ(LogLinesContaining("Set[Message]Thread hello").size(), 1u);
}

TEST_F(MainTick, PanelHidesAtTheFirstTickFiveSecondsAfterItsLastMessageAcrossTheWrap) {
  clock.SetTickCount(0xFFFFE000u);
  Start();
  app->ShowPanelMessage("one");
  FireTimerWhenDue();
  EXPECT_TRUE(view.panel_visible);
  for (int i = 0; i < 5; ++i) FireTimerWhenDue();
  EXPECT_FALSE(view.panel_visible);
}

}  // namespace
}  // namespace chimewell::testing

namespace chimewell::testing {
namespace {

TEST_F(MainTick, HiddenAfterMidnightAnOpenBackgroundWindowFiresOnceNotEveryTick) {
  WriteFile("chimewell.sch", "Speak \"bgm\" BGM from 0:00 to 24:00\r\n");
  view.showing = false;  // no clock drawings, so the last drawing stays on an old date
  clock.Set(At(0, 10, 0, 0, 8));
  Start();
  // It fires once today, then waits for the start of tomorrow's window.
  for (int i = 0; i < 20 && LogLinesContaining("Thread bgm").empty(); ++i) FireTimerWhenDue();
  EXPECT_EQ(LogLinesContaining("Set[Message]Thread bgm").size(), 1u);
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss.zzz", ArmedFor()), "08 23:59:56.500");
}

TEST_F(MainTick, AFaultInTheTickIsToldAndTheClockGoesOn) {
  Start();
  view.present_fails = true;
  FireTimerWhenDue();
  EXPECT_EQ(view.panel_text, "内部エラー(tick): drawing failed");
  EXPECT_NE(app->Logs().Lines().back().find("内部エラー(tick): drawing failed"), std::string::npos);
  view.present_fails = false;
  const int drawings = view.clock_drawings;
  FireTimerWhenDue();  // armed again after the fault
  EXPECT_GT(view.clock_drawings, drawings);
}

}  // namespace
}  // namespace chimewell::testing
