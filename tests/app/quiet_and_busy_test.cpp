// Keeping quiet, in virtual time: announcements that fall due while the desktop is busy wait
// and play when it is free (or are passed over once LateLimit has run out); the quiet hours
// keep scheduled firings and the count silent, but not what the user starts by hand.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "app/quiet_hours.h"

namespace chimewell::testing {
namespace {

constexpr DesktopBusyState kCall{.in_call = true};
constexpr DesktopBusyState kDoNotDisturb{.do_not_disturb = true};
constexpr DesktopBusyState kFree{};

class QuietAndBusy : public AppTest {
 protected:
  // A chime at 12:00 that says the seconds too, so that the moment it names shows.
  void StartWithNoonChime(const std::string& config = "") {
    WriteFile("chimewell.sch", "Time \"[hour][min][sec]\" At 12:00\r\n");
    WriteFile("chimewell.ini", "[Config]\r\nLateLimit=60\r\n" + config);
    view.showing = false;
    clock.Set(At(11, 59, 50));
    Start();
  }
  std::vector<std::string> Spoken() const { return LogLinesContaining("Set[Message]Thread "); }
};

TEST_F(QuietAndBusy, AnnouncementDueDuringACallWaitsAndPlaysWhenFreeWithinLateLimit) {
  StartWithNoonChime();
  app->DesktopBusyChanged(kCall);
  FireTimerWhenDue();  // the tick the change asked for
  EXPECT_EQ(view.status, " 通話中のため待機中 次は 12:00.00 の時報");
  FireTimerWhenDue();  // preparing: nothing is made ahead while busy
  FireTimerWhenDue();  // the hand-over: it waits
  EXPECT_TRUE(Spoken().empty());
  // No spinning while it waits: the next run is when its LateLimit runs out.
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", ArmedFor()), "12:00:59.501");

  clock.Set(At(12, 0, 40));
  app->DesktopBusyChanged(kFree);
  EXPECT_EQ(timer.Interval(), 0);
  timer.FireNow();
  const auto spoken = Spoken();
  ASSERT_EQ(spoken.size(), 1u);
  // It names the moment it plays (SpeakOffset ahead), as after a suspend.
  EXPECT_NE(spoken[0].find("Thread 12時40秒"), std::string::npos) << spoken[0];
  EXPECT_EQ(view.status, " 次は 12:00.00 の時報");
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss.zzz", ArmedFor()), "08 11:59:56.500");
}

TEST_F(QuietAndBusy, WithTheSettingOffABusyDesktopChangesNothing) {
  StartWithNoonChime("QuietWhenBusy=0\r\n");
  app->DesktopBusyChanged(kCall);
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", ArmedFor()), "11:59:56.500");
  FireTimerWhenDue();
  FireTimerWhenDue();
  ASSERT_EQ(Spoken().size(), 1u);
  EXPECT_NE(Spoken()[0].find("Thread 12時 "), std::string::npos);
}

TEST_F(QuietAndBusy, TheCountIsSilentWhileBusyAndOnceLoggedInTheQuietHours) {
  WriteFile("chimewell.ini", "[Config]\r\nQuietFrom=22:00\r\nQuietTo=7:00\r\n");
  view.showing = false;
  clock.Set(At(21, 59, 40));
  Start();
  app->ChooseMenuItem(MenuItem::PM_TempCount10);
  app->DesktopBusyChanged(kDoNotDisturb);
  while (clock.Now() < At(21, 59, 58)) FireTimerWhenDue();
  EXPECT_EQ(view.status,
            "【１０秒毎カウント】 おやすみモード中 スケジュールはセットされていません");
  EXPECT_TRUE(Spoken().empty());
  EXPECT_TRUE(LogLinesContaining("見送り").empty());  // no line for each count while busy
  app->DesktopBusyChanged(kFree);
  while (clock.Now() < At(22, 1, 0)) FireTimerWhenDue();
  EXPECT_TRUE(Spoken().empty());
  EXPECT_EQ(LogLinesContaining("見送り（静かな時間）").size(), 1u);
  EXPECT_EQ(LogLinesContaining("見送り（静かな時間） カウント（7:00まで）").size(), 1u);
  EXPECT_EQ(view.status,
            "【１０秒毎カウント】 静かな時間（7:00まで） スケジュールはセットされていません");
}

TEST_F(QuietAndBusy, WhatTheUserStartsSoundsInTheQuietHours) {
  WriteFile("chimewell.ini", "[Config]\r\nQuietFrom=22:00\r\nQuietTo=7:00\r\n");
  clock.Set(At(23, 0, 0));
  Start();
  app->TestPlayTimeSignal("[hour][min]", clock.Now());
  app->TestPlayMessage("おやすみ", clock.Now());
  EXPECT_EQ(Spoken().size(), 2u);
  EXPECT_TRUE(LogLinesContaining("見送り").empty());
}

TEST_F(QuietAndBusy, BackgroundMusicRestsDuringACallButNotForDoNotDisturb) {
  const std::string song = (dir / "song.mid").string();
  WriteFile("song.mid", "MThd");
  WriteFile("chimewell.sch", "Midi \"" + song + "\" BGM from 10:00 to 13:00\r\n");
  midi.SetSong(song, 600000);
  view.showing = false;
  Start();
  for (int i = 0; i < 5 && LogLinesContaining("song.mid").empty(); ++i) FireTimerWhenDue();
  const auto music_after_a_while = [&] {
    EXPECT_TRUE(clock.RunFor(3000, [&] { return app->PlaybackData().RunningWorkerCount(); }));
    return midi.Playing();
  };
  ASSERT_TRUE(music_after_a_while());
  app->DesktopBusyChanged(kDoNotDisturb);
  EXPECT_TRUE(music_after_a_while());
  app->DesktopBusyChanged(DesktopBusyState{.in_call = true, .do_not_disturb = true});
  EXPECT_FALSE(music_after_a_while());
  app->DesktopBusyChanged(kDoNotDisturb);
  // The piece starts again, as after the menu's pause.
  EXPECT_TRUE(music_after_a_while());
}

TEST_F(QuietAndBusy, UnavailableDetectionIsLoggedOnceAndShownOverTheClockOnlyWhenTurnedOn) {
  Start();
  app->DesktopBusyUnavailable(BusyUnavailable::kNoSoundServer);
  app->DesktopBusyUnavailable(BusyUnavailable::kNoSoundServer);
  app->DesktopBusyUnavailable(BusyUnavailable::kNoSessionBus);
  EXPECT_EQ(LogLinesContaining("を検出できません").size(), 2u);
  EXPECT_EQ(app->BusyUnwatched().size(), 2u);
  // The setting is on by default: a plain desktop is not covered with a panel at every start.
  EXPECT_EQ(view.panel_text.find("検出できません"), std::string::npos);
  ConfigSettings config = app->Config();
  config.QuietWhenBusy = false;
  app->ApplyBaseSettings(config, std::nullopt);
  EXPECT_EQ(view.panel_text.find("検出できません"), std::string::npos);
  config.QuietWhenBusy = true;
  app->ApplyBaseSettings(config, std::nullopt);
  EXPECT_NE(view.panel_text.find("セッションバスがありません"), std::string::npos);
  EXPECT_NE(view.panel_text.find("サウンドサーバーに接続できません"), std::string::npos);
}

// Quiet hours by the shown clock: from included, to not; a time after midnight belongs to the
// quiet time begun the evening before, on the weekday it began.
TEST(QuietHoursTest, MomentsInAndOutOfQuietTime) {
  constexpr uint8_t kFridayOnly = 1 << 6;
  const struct {
    int from, to;
    uint8_t days;
    TDateTime t;  // 2026/12/07 is a Monday
    std::optional<TDateTime> until;
  } cases[] = {
      {22 * 60, 7 * 60, 0xFE, At(22, 0, 0), At(7, 0, 0, 0, 8)},
      {22 * 60, 7 * 60, 0xFE, At(21, 59, 59, 999), std::nullopt},
      {22 * 60, 7 * 60, 0xFE, At(6, 59, 59, 999), At(7, 0, 0)},
      {22 * 60, 7 * 60, 0xFE, At(7, 0, 0), std::nullopt},
      {22 * 60, 7 * 60, kFridayOnly, At(23, 0, 0, 0, 11), At(7, 0, 0, 0, 12)},
      {22 * 60, 7 * 60, kFridayOnly, At(3, 0, 0, 0, 12), At(7, 0, 0, 0, 12)},  // Saturday
      {22 * 60, 7 * 60, kFridayOnly, At(3, 0, 0, 0, 11), std::nullopt},        // Thursday's
      {12 * 60, 13 * 60, 1 << 2, At(12, 30, 0), At(13, 0, 0)},                 // Monday
      {12 * 60, 13 * 60, 1 << 3, At(12, 30, 0), std::nullopt},
  };
  for (const auto& c : cases) {
    const auto until = QuietHours(c.from, c.to, c.days).QuietUntil(c.t);
    ASSERT_EQ(until.has_value(), c.until.has_value()) << FormatDateTime("dd hh:nn:ss.zzz", c.t);
    if (until) {
      EXPECT_EQ(FormatDateTime("dd hh:nn", *until), FormatDateTime("dd hh:nn", *c.until));
    }
  }
}

TEST(QuietHoursTest, OnlyBothTimesOnAtLeastOneDayMakeQuietHours) {
  const struct {
    const char* from;
    const char* to;
    int days;
    bool on;
  } cases[] = {
      {"22:00", "7:00", 254, true}, {"", "", 254, false},
      {"22:00", "", 254, false},    {"24:00", "7:00", 254, false},
      {"22:0", "7:00", 254, false}, {"7:00", "07:00", 254, false},
      {"22:00", "7:00", 0, false},  {"２２:００", "7:00", 254, false},
  };
  for (const auto& c : cases) {
    ConfigSettings config;
    config.QuietFrom = c.from;
    config.QuietTo = c.to;
    config.QuietDays = c.days;
    EXPECT_EQ(QuietHours::Of(config).has_value(), c.on) << c.from << "-" << c.to;
  }
}

}  // namespace
}  // namespace chimewell::testing
