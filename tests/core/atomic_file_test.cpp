// Cleaning up after replacements that a crash cut short.
#include "core/atomic_file.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "support/ended_process.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using testing::TempDir;

TEST(RemoveStaleTemporaries, RemovesOnlyOurOwnLeftoversOfEndedProcesses) {
  TempDir dir;
  const std::string dead = std::to_string(testing::EndedProcessId());
  const std::string mine = std::to_string(::getpid());
  const std::string alive = std::to_string(::getppid());
  struct Case {
    std::string name;
    bool removed;
  };
  const Case cases[] = {
      {".chimewell.ini.tmp" + dead + "-0", true},
      {".chimewell.ini.tmp" + dead + "-17", true},
      {".chimewell.ini.tmp" + mine + "-0", false},   // a save of ours may be under way
      {".chimewell.ini.tmp" + alive + "-0", false},  // and one of another running copy
      {".chimewell.sch.tmp" + dead + "-0", false},   // another file's, cleaned with that file
      {".chimewell.ini.tmp" + dead, false},
      {".chimewell.ini.tmp" + dead + "-0.bak", false},
      {".chimewell.ini.tmpx-0", false},
      {"chimewell.ini.tmp" + dead + "-0", false},
      {".other.ini.tmp" + dead + "-0", false},
      {"chimewell.ini", false},
  };
  for (const Case& c : cases) testing::WriteBytes(dir / c.name, "x");
  std::filesystem::create_directory(dir / (".chimewell.ini.tmp" + dead + "-99"));

  EXPECT_EQ(RemoveStaleTemporaries(dir / "chimewell.ini"), 2u);
  for (const Case& c : cases) EXPECT_EQ(!std::filesystem::exists(dir / c.name), c.removed) << c.name;
  EXPECT_TRUE(std::filesystem::is_directory(dir / (".chimewell.ini.tmp" + dead + "-99")));

  EXPECT_EQ(RemoveStaleTemporaries(dir / "chimewell.sch"), 1u);
  EXPECT_EQ(RemoveStaleTemporaries(dir / "missing-folder" / "chimewell.ini"), 0u);
}

TEST(RemoveStaleTemporaries, FollowsALinkToTheFolderSavesGoTo) {
  TempDir dir;
  std::filesystem::create_directory(dir / "real");
  testing::WriteBytes(dir / "real" / "chimewell.ini", "[App]\n");
  std::filesystem::create_symlink(dir / "real" / "chimewell.ini", dir / "chimewell.ini");
  const auto leftover =
      dir / "real" / (".chimewell.ini.tmp" + std::to_string(testing::EndedProcessId()) + "-0");
  testing::WriteBytes(leftover, "half");
  EXPECT_EQ(RemoveStaleTemporaries(dir / "chimewell.ini"), 1u);
  EXPECT_FALSE(std::filesystem::exists(leftover));
}

TEST(ReplaceFile, CreatesFilesForTheOwnerOnlyAndKeepsAnExistingFilesMode) {
  TempDir dir;
  const auto mode = [](const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
  };
  const mode_t old_mask = ::umask(0);  // even a permissive umask gives no one else access
  ReplaceFile(dir / "new.ini", "[App]\n");
  testing::WriteBytes(dir / "shared.ini", "old");
  ::chmod((dir / "shared.ini").c_str(), 0644);
  ReplaceFile(dir / "shared.ini", "new");
  ::umask(old_mask);
  EXPECT_EQ(mode(dir / "new.ini"), 0600u);
  EXPECT_EQ(mode(dir / "shared.ini"), 0644u);
}

}  // namespace
}  // namespace chimewell
