// Child processes of the speech engine: their exit status, and the work folders a crash leaves.
#include "platform/linux/child_process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/open_jtalk_setup.h"
#include "support/ended_process.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

namespace fs = std::filesystem;

bool RunsCleanly(const char* program) {
  ChildProcess child;
  return child.Start({program}) && child.Wait();
}

TEST(ChildProcessTest, OnlyAKnownCleanExitIsSuccess) {
  EXPECT_TRUE(RunsCleanly("true"));
  EXPECT_FALSE(RunsCleanly("false"));
  // With SIGCHLD ignored the kernel reaps the child itself and its status is lost.
  const auto old = std::signal(SIGCHLD, SIG_IGN);
  EXPECT_FALSE(RunsCleanly("true"));
  std::signal(SIGCHLD, old);
}

TEST(ChildProcessTest, OnlyWorkFoldersOfEndedProcessesAreSwept) {
  const testing::TempDir tmp;
  const char* old_tmpdir = std::getenv("TMPDIR");
  const std::string saved = old_tmpdir ? old_tmpdir : "";
  ::setenv("TMPDIR", tmp.path().c_str(), 1);

  const std::string dead = std::to_string(testing::EndedProcessId());
  const fs::path kept_target = tmp / "elsewhere";
  fs::create_directories(kept_target);
  testing::WriteBytes(kept_target / "keep", "x");
  const fs::path stale = tmp / ("chimewell-speech-" + dead + "-abc123");
  fs::create_directories(stale);
  testing::WriteBytes(stale / "out.wav", "x");
  const fs::path kept[] = {
      tmp / ("chimewell-speech-" + std::to_string(::getpid()) + "-own123"),  // ours, running
      tmp / "chimewell-speech-1-init12",                                     // a live process
      tmp / ("chimewell-trace-" + dead + "-other1"),                         // another purpose
      tmp / "chimewell-speech-ab12cd",                                       // no process named
  };
  for (const fs::path& folder : kept) fs::create_directories(folder);
  fs::create_directory_symlink(kept_target, tmp / ("chimewell-speech-" + dead + "-link12"));

  EXPECT_EQ(RemoveStaleWorkFolders("speech"), 1u);
  EXPECT_FALSE(fs::exists(stale));
  for (const fs::path& folder : kept) EXPECT_TRUE(fs::exists(folder)) << folder;
  EXPECT_TRUE(fs::exists(kept_target / "keep"));

  // A new folder names its process, so that a later sweep can tell whether it is stale.
  const std::string made = MakeOpenJTalkWorkFolder("speech");
  EXPECT_TRUE(fs::path(made).filename().string().starts_with("chimewell-speech-" +
                                                             std::to_string(::getpid()) + "-"));

  if (old_tmpdir) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

}  // namespace
}  // namespace chimewell
