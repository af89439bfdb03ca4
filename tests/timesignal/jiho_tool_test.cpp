// chimewell-tool jiho, run as users run it.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "tool_runner.h"

namespace chimewell {
namespace {

using testing::RunTool;

TEST(JihoTool, PrintsOneLinePerFragmentInOrder) {
  auto r = RunTool("jiho --type 1 --at '2024/03/03 15:00:00' default");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "GOGO.WAV\nSAN.WAV\nJI.WAV\nDA.WAV\n");
  EXPECT_EQ(r.err, "");

  r = RunTool("jiho --type 3 --variant 9 --at '2024/03/03 01:45:00' '[min]'");
  EXPECT_EQ(r.out, "40Y.WAV\n05.WAV\n");

  r = RunTool(
      "jiho --type 4 --addon2 /x/chime.wav --addoff1 /x/late.wav "
      "--at '2024/03/03 08:00:00' '[addon2][HOUR][MIN]'");
  EXPECT_EQ(r.out, "/x/chime.wav\n08ji.wav\ntyoudo.wav\n");
}

TEST(JihoTool, ReportGoesToStderrAsThePanelShowsIt) {
  testing::TempDir dir;
  testing::WriteBytes(dir / "28_3月.wav", "RIFF");
  const auto r = RunTool("jiho --type 2 --folder '" + dir.path().string() +
                         "' --at '2024/03/03 10:00:00' '[mon][day][foo]x'");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "28_3月.wav\n40_3日.wav\n");
  EXPECT_EQ(r.err,
            "時報指定にエラーがあります\r\n[" + dir.path().string() +
                "/40_3日.wav]ファイルがありません\r\n[foo]は使えません\r\n[x]が余りました\r\n");
}

TEST(JihoTool, TypeZeroPrintsTheSpokenText) {
  const auto r = RunTool("jiho --type 0 --at '2024/03/03 15:00:00' '[AMPM][HOUR][MIN]です'");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "speech\t午後3時0分です\n");
}

TEST(JihoTool, UsageErrorsExitWithTwo) {
  for (const char* args :
       {"jiho default", "jiho --type 1", "jiho --type one default", "jiho --type 1 a b",
        "jiho --type 1 --at 'tomorrow' default", "jiho --type 1 --addon17 x default",
        "jiho --type 1 --colour red default", "jiho --type"}) {
    const auto r = RunTool(args);
    EXPECT_EQ(r.exit_code, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_NE(r.err, "") << args;
  }
}

}  // namespace
}  // namespace chimewell
