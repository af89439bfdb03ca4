#include "schedule/script_text.h"

#include <gtest/gtest.h>

#include <iterator>

#include "core/atomic_file.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using Lines = LineList;

TEST(ScriptLinesFromBytes, SplitsAtLineEndsOfEitherKind) {
  EXPECT_EQ(ScriptLinesFromBytes("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(ScriptLinesFromBytes("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ScriptLinesFromBytes(""), Lines{});
  EXPECT_EQ(ScriptLinesFromBytes("\xEF\xBB\xBFSpeak Hi At 7:00\n"), Lines{"Speak Hi At 7:00"});
}

TEST(ScriptLinesFromBytes, ReadsShiftJisFilesAsUtf8) {
  // "Speak \"おはよう\" At 7:00 Every 土 日" as the Windows program writes it.
  const std::string sjis =
      "Speak \"\x82\xa8\x82\xcd\x82\xe6\x82\xa4\" At 7:00 Every \x93\x79 \x93\xfa\r\n"
      "# \x83\x52\x83\x81\x83\x93\x83\x67\r\n";
  EXPECT_EQ(ScriptLinesFromBytes(sjis),
            (Lines{"Speak \"おはよう\" At 7:00 Every 土 日", "# コメント"}));
  // A byte with no meaning in CP932 is marked rather than dropped or passed on raw.
  EXPECT_EQ(ScriptLinesFromBytes("a\xA0z\x82"), Lines{"a\xEF\xBF\xBDz\xEF\xBF\xBD"});
}

TEST(SaveScheduleFile, WritesCrLfAndKeepsTheOldFileWhenWritingFails) {
  testing::TempDir dir;
  const auto path = dir / "chimewell.sch";
  SaveScheduleFile(path, {"Speak \"あ\" At 7:00 repeat 1", "# note"});
  EXPECT_EQ(testing::ReadBytes(path), "Speak \"あ\" At 7:00 repeat 1\r\n# note\r\n");

  // The disk fills up halfway through the new script.
  LineList lines;
  for (int i = 0; i < 100; ++i) lines.Append(std::string(40, 'x'));
  {
    const testing::FileSizeLimit full_disk(1024);
    EXPECT_THROW(SaveScheduleFile(path, lines), FileWriteError);
  }
  EXPECT_EQ(testing::ReadBytes(path), "Speak \"あ\" At 7:00 repeat 1\r\n# note\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace chimewell
