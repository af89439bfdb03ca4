#include <gtest/gtest.h>

#include "app/app_paths.h"
#include "app/command_line.h"

namespace chimewell {
namespace {

TEST(CommandLine, ReadsEveryOptionAndRejectsStrangers) {
  const auto r = ParseCommandLine({"--home", "/tmp/h", "--headless", "--audio", "wav:/tmp/x.wav"});
  EXPECT_TRUE(r.error.empty());
  EXPECT_EQ(r.options.home, "/tmp/h");
  EXPECT_TRUE(r.options.headless);
  EXPECT_EQ(r.options.audio, "wav:/tmp/x.wav");
  EXPECT_EQ(ParseCommandLine({}).options.audio, "auto");  // the sound server, else ALSA
  EXPECT_FALSE(ParseCommandLine({"--home"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--colour"}).error.empty());
  EXPECT_TRUE(ParseCommandLine({"--version"}).options.version);
}

TEST(AppPaths, FilesAreNamedAfterTheExecutableOrLiveInHome) {
  const AppPaths beside = PathsBesideExecutable("/opt/cw/bin/chimewell");
  EXPECT_EQ(beside.settings, "/opt/cw/bin/chimewell.ini");
  EXPECT_EQ(beside.app_info, "/opt/cw/bin/chimewell.imi");
  EXPECT_EQ(beside.schedule, "/opt/cw/bin/chimewell.sch");
  EXPECT_EQ(beside.holidays, "/opt/cw/bin/chimewell.hol");
  EXPECT_EQ(beside.page_template, "/opt/cw/bin/chimewell.html");
  EXPECT_EQ(beside.user_guide, "/opt/cw/bin/doc/index.html");
  EXPECT_EQ(PathsInHome("/home/u/.cw").schedule, "/home/u/.cw/chimewell.sch");
}

}  // namespace
}  // namespace chimewell
