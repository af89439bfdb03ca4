// An accepted schedule edit leaves alone what it does not change: what plays, an open music
// window, the sound prepared for an entry that stays.
#include "app/app_fixture.h"
#include "schedule/carry_over.h"

namespace chimewell::testing {
namespace {

class ScheduleEdit : public AppTest {
 protected:
  void StartWithMusic() {
    song = (dir / "song.mid").string();
    WriteFile("song.mid", "MThd");
    midi.SetSong(song, 600000);
    WriteFile("chimewell.sch", MusicLine() + "Speak 正午です At 12:00\r\n");
    view.showing = false;
    Start();
    for (int i = 0; i < 5 && LogLinesContaining("song.mid").empty(); ++i) FireTimerWhenDue();
    ASSERT_TRUE(MusicAfterAWhile());
  }
  std::string MusicLine() const { return "Midi \"" + song + "\" BGM from 10:00 to 13:00\r\n"; }
  bool MusicAfterAWhile() {
    EXPECT_TRUE(clock.RunFor(3000, [&] { return app->PlaybackData().RunningWorkerCount(); }));
    return midi.Playing();
  }
  LineList Lines(const std::string& text) const {
    LineList lines;
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
      lines.Append(text.substr(at, end - at));
    }
    return lines;
  }
  size_t MusicStarts() const { return LogLinesContaining("Set[Midi]Thread").size(); }

  std::string song;
};

TEST_F(ScheduleEdit, AnEditBesideTheMusicLetsItPlayOnAndKeepsWhatWasPrepared) {
  StartWithMusic();
  const size_t starts = MusicStarts();
  const int stops = speech.Stops();
  const int discards = speech.Discards();
  ASSERT_TRUE(app->ReplaceSchedule(Lines(MusicLine() + "Speak 正午です At 12:00\r\n"
                                                        "Speak 一時です At 13:00\r\n"))
                  .empty());
  FireTimerWhenDue();
  EXPECT_TRUE(MusicAfterAWhile());
  EXPECT_EQ(MusicStarts(), starts);  // not started again from the top
  EXPECT_EQ(speech.Stops(), stops);
  EXPECT_EQ(speech.Discards(), discards);
  // The noon line kept its moment, and the new line has one of its own.
  EXPECT_EQ(app->ScheduleData().ScheduleEntries().size(), 3u);
  for (const TSchedule& entry : app->ScheduleData().ScheduleEntries()) {
    EXPECT_GT(entry.NextTime, 0) << entry.Msg;
  }
}

TEST_F(ScheduleEdit, RemovingOrChangingTheMusicLineStopsItsMusic) {
  StartWithMusic();
  ASSERT_TRUE(app->ReplaceSchedule(Lines("Speak 正午です At 12:00\r\n")).empty());
  EXPECT_FALSE(MusicAfterAWhile());
}

TEST(CarryOverUnchanged, EachKeptLinePassesItsMomentOnOnce) {
  const auto entry = [](std::string msg, TCommandType cmd, TDateTime next) {
    TSchedule e;
    e.Msg = std::move(msg);
    e.Cmd = cmd;
    e.NextTime = next;
    e.Due = WallMoment::FromUnixMs(static_cast<int64_t>(next * 1000));
    return e;
  };
  const std::vector<TSchedule> before = {entry("a", ctSpeak, 1.5), entry("a", ctSpeak, 2.5),
                                         entry("m.mid", ctMidi, 3.5)};
  std::vector<TSchedule> after = {entry("a", ctSpeak, 0), entry("b", ctSpeak, 0),
                                  entry("a", ctSpeak, 0), entry("a", ctSpeak, 0)};
  EXPECT_TRUE(CarryOverUnchanged(before, after).music_line_gone);
  EXPECT_EQ(after[0].NextTime, 1.5);
  EXPECT_EQ(after[1].NextTime, 0);  // a new line is computed afresh
  EXPECT_EQ(after[2].NextTime, 2.5);
  EXPECT_EQ(after[3].NextTime, 0);  // a third equal line is new
  EXPECT_EQ(after[2].Due, before[1].Due);

  std::vector<TSchedule> same = before;
  for (TSchedule& e : same) e.NextTime = 0;
  EXPECT_FALSE(CarryOverUnchanged(before, same).music_line_gone);
  // A changed volume is a changed line.
  same[2].Volume = 50;
  EXPECT_TRUE(CarryOverUnchanged(before, same).music_line_gone);
}

}  // namespace
}  // namespace chimewell::testing
