// A sound file entry goes to the worker early enough to be read and placed on its moment, and
// once only: a change of the days that comes while it is on its way does not send it again.
#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace chimewell::testing {
namespace {

TEST_F(AppTest, ASoundFileIsHandedOverAheadAndOnceAcrossAChangeOfDays) {
  WriteFile("click.wav", "RIFF");
  const std::string click = (dir / "click.wav").string();
  WriteFile("chimewell.sch", "Wave \"" + click + "\" At 12:00\r\n");
  view.showing = false;
  clock.Set(At(11, 59, 50));
  Start();
  // Its moment is 12:00 itself; it goes over two seconds before the file must start.
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss.zzz", ArmedFor()), "07 11:59:57.500");
  FireTimerWhenDue();
  EXPECT_EQ(LogLinesContaining("click.wav").size(), 1u);
  // The days change while it is on its way: it is not sent again, the next is tomorrow's.
  ASSERT_TRUE(app->ReplaceHolidays(LineList{"12/31 大晦日"}).empty());
  app->Timer1Timer(false);
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss.zzz", ArmedFor()), "08 11:59:57.500");
  EXPECT_EQ(LogLinesContaining("click.wav").size(), 1u);
}

}  // namespace
}  // namespace chimewell::testing
