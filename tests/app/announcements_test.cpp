// Messages from other systems in virtual time: a burst is spoken whole, in order, one after
// the other and never over the schedule's speech; a message with a moment is placed on it.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "core/local_time.h"

namespace chimewell::testing {
namespace {

class Announcements : public AppTest {
 protected:
  std::function<int()> Workers() {
    return [this] { return app->PlaybackData().RunningWorkerCount(); };
  }
  // The utterances whose text starts with `prefix`, in the order heard.
  std::vector<Utterance> Heard(const std::string& prefix) const {
    std::vector<Utterance> heard;
    for (const Utterance& u : speech.Utterances()) {
      if (u.text.starts_with(prefix)) heard.push_back(u);
    }
    return heard;
  }
  static void ExpectNoOverlap(const std::vector<Utterance>& heard, int64_t each_ms) {
    for (size_t i = 1; i < heard.size(); ++i) {
      EXPECT_GE(heard[i].start_ms, heard[i - 1].start_ms + each_ms)
          << heard[i - 1].text << " / " << heard[i].text;
    }
  }
};

TEST_F(Announcements, ABurstOfTwoHundredSpeaksTheFirstHundredInOrderAndRefusesTheRest) {
  Start();
  int refused = 0;
  for (int i = 1; i <= 200; ++i) {
    const std::string text = "お知らせ" + std::to_string(i);
    speech.SetDuration(text, 2000);
    const AnnouncementResult result = app->SubmitAnnouncement({text, std::nullopt, std::nullopt});
    if (!result.accepted) {
      EXPECT_EQ(result.refusal, AnnouncementRefusal::kQueueFull);
      EXPECT_GT(i, 100);
      ++refused;
    }
  }
  EXPECT_EQ(refused, 100);
  ASSERT_TRUE(clock.RunFor(100 * 3000, Workers()));
  const auto heard = Heard("お知らせ");
  ASSERT_EQ(heard.size(), 100u);
  for (size_t i = 0; i < heard.size(); ++i)
    EXPECT_EQ(heard[i].text, "お知らせ" + std::to_string(i + 1));
  ExpectNoOverlap(heard, 2000);
  EXPECT_EQ(app->Status().queued, 0u);
  EXPECT_TRUE(app->SubmitAnnouncement({"また", std::nullopt, std::nullopt}).accepted);
}

TEST_F(Announcements, TheScheduleAndMessagesTakeTurns) {
  WriteFile("chimewell.sch", "Speak \"予定です\" At 11:00\r\n");
  clock.Set(At(10, 59, 55));
  Start();
  speech.SetDuration("予定です", 2000);
  for (int i = 1; i <= 5; ++i) {
    const std::string text = "連絡" + std::to_string(i);
    speech.SetDuration(text, 3000);
    ASSERT_TRUE(app->SubmitAnnouncement({text, 30, std::nullopt}).accepted);
  }
  while (clock.Now() < At(11, 0, 20)) {
    ASSERT_TRUE(timer.Enabled());
    ASSERT_TRUE(clock.RunFor(timer.Interval(), Workers()));
    timer.FireNow();
  }
  std::vector<Utterance> heard = Heard("連絡");
  ASSERT_EQ(heard.size(), 5u);
  const auto scheduled = Heard("予定です");
  ASSERT_EQ(scheduled.size(), 1u);
  heard.push_back(scheduled[0]);
  std::sort(heard.begin(), heard.end(),
            [](const Utterance& a, const Utterance& b) { return a.start_ms < b.start_ms; });
  for (size_t i = 1; i < heard.size(); ++i) {
    const int64_t previous = heard[i - 1].text == "予定です" ? 2000 : 3000;
    EXPECT_GE(heard[i].start_ms, heard[i - 1].start_ms + previous)
        << heard[i - 1].text << " overlaps " << heard[i].text;
  }
  EXPECT_EQ(Heard("連絡1")[0].volume_left, Heard("連絡1")[0].volume_right);
}

TEST_F(Announcements, AMessageWithAMomentIsPlacedOnItAndOneLongPastIsRefused) {
  Start();
  const WallMoment at = clock.WallNow() + std::chrono::minutes(2);
  const AnnouncementResult later = app->SubmitAnnouncement({"二分後", std::nullopt, at});
  ASSERT_TRUE(later.accepted);
  EXPECT_EQ(later.accepted->due, at);
  // The tick wakes half a second ahead to hand it over; nothing is said before.
  ASSERT_TRUE(timer.Enabled());
  EXPECT_LE(ArmedFor(), LocalOf(at - std::chrono::milliseconds(500)));
  ASSERT_TRUE(clock.RunFor(60'000, Workers()));
  EXPECT_TRUE(Heard("二分後").empty());
  while (ArmedFor() < LocalOf(at - std::chrono::milliseconds(500))) FireTimerWhenDue();
  FireTimerWhenDue();
  ASSERT_TRUE(clock.RunFor(5'000, Workers()));
  const auto heard = Heard("二分後");
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].placed_at_ms, at.UnixMs());

  const WallMoment long_ago = clock.WallNow() - std::chrono::hours(1);
  const AnnouncementResult late = app->SubmitAnnouncement({"昔", std::nullopt, long_ago});
  EXPECT_FALSE(late.accepted);
  EXPECT_EQ(late.refusal, AnnouncementRefusal::kMomentPassed);
}

TEST_F(Announcements, ClearAllDropsTheQueueAndMuteHoldsItWithoutLosingAny) {
  Start();
  app->SetMuted(true);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(
        app->SubmitAnnouncement({"保留" + std::to_string(i), std::nullopt, std::nullopt}).accepted);
  }
  ASSERT_TRUE(clock.RunFor(30'000, Workers()));
  EXPECT_TRUE(Heard("保留").empty());
  app->SetMuted(false);
  ASSERT_TRUE(clock.RunFor(30'000, Workers()));
  EXPECT_EQ(Heard("保留").size(), 3u);

  app->SetMuted(true);
  ASSERT_TRUE(app->SubmitAnnouncement({"消える", std::nullopt, std::nullopt}).accepted);
  app->PM_MenuClick(MenuItem::PM_Clear);
  EXPECT_EQ(app->Status().queued, 0u);
  app->SetMuted(false);
  ASSERT_TRUE(clock.RunFor(30'000, Workers()));
  EXPECT_TRUE(Heard("消える").empty());
  EXPECT_TRUE(app->SubmitAnnouncement({"次", std::nullopt, std::nullopt}).accepted);
  ASSERT_TRUE(clock.RunFor(10'000, Workers()));
  EXPECT_EQ(Heard("次").size(), 1u) << "a cleared queue takes new messages";
}

}  // namespace
}  // namespace chimewell::testing
