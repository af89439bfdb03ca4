// Reading whole files under a size ceiling: only regular files, never more than the kind allows.
#include "core/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "core/ini_file.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using testing::TempDir;

// A file of `size` bytes that takes no room on the disk.
void MakeSparse(const std::filesystem::path& path, off_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, size), 0);
  ::close(fd);
}

TEST(ReadRegularFile, SizeAgainstTheLimit) {
  TempDir dir;
  struct Case {
    size_t size;
    uint64_t limit;
    bool read;
  };
  for (const Case c : {Case{0, 0, true}, Case{10, 10, true}, Case{11, 10, false},
                       Case{70000, 65536, false}, Case{200000, 200000, true}}) {
    const auto path = dir / "f";
    testing::WriteBytes(path, std::string(c.size, 'x'));
    errno = 0;
    const auto bytes = ReadRegularFile(path.string(), c.limit);
    EXPECT_EQ(bytes.has_value(), c.read) << c.size << " against " << c.limit;
    if (bytes) {
      EXPECT_EQ(bytes->size(), c.size);
    } else {
      EXPECT_EQ(errno, EFBIG);
    }
  }
}

TEST(ReadRegularFile, EachKindHasItsCeiling) {
  TempDir dir;
  struct Case {
    FileKind kind;
    uint64_t mib;
  };
  for (const Case c : {Case{FileKind::kSound, 64}, Case{FileKind::kVoice, 16},
                       Case{FileKind::kPage, 4}, Case{FileKind::kScript, 4}}) {
    const uint64_t limit = c.mib << 20;
    EXPECT_EQ(MaxFileBytes(c.kind), limit);
    MakeSparse(dir / "at", static_cast<off_t>(limit));
    MakeSparse(dir / "past", static_cast<off_t>(limit + 1));
    EXPECT_TRUE(ReadRegularFile((dir / "at").string(), c.kind).has_value()) << c.mib;
    EXPECT_FALSE(ReadRegularFile((dir / "past").string(), c.kind).has_value()) << c.mib;
  }
}

TEST(ReadRegularFile, AHugeSparseFileIsRefusedUnread) {
  TempDir dir;
  MakeSparse(dir / "huge.wav", off_t{2} << 30);
  errno = 0;
  EXPECT_FALSE(ReadRegularFile((dir / "huge.wav").string(), FileKind::kSound));
  EXPECT_EQ(errno, EFBIG);
}

TEST(ReadRegularFile, OnlyRegularFilesAreOpened) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder");
  struct Case {
    std::string path;
    int error;
  };
  // A pipe without a writer would block a plain open; a device would never end.
  for (const Case& c : {Case{(dir / "pipe").string(), EINVAL}, Case{(dir / "folder").string(), EINVAL},
                        Case{"/dev/zero", EINVAL}, Case{(dir / "missing").string(), ENOENT}}) {
    errno = 0;
    EXPECT_FALSE(ReadRegularFile(c.path, FileKind::kSound)) << c.path;
    EXPECT_EQ(errno, c.error) << c.path;
  }
}

TEST(ReadRegularFile, ASettingsFileTooLargeToReadIsNeverReplaced) {
  TempDir dir;
  const auto path = dir / "chimewell.ini";
  MakeSparse(path, off_t{5} << 20);
  IniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("App", "PortNumber", 8080), 8080);
  ini.WriteInteger("App", "PortNumber", 1);
  EXPECT_THROW(ini.Save(), IniWriteError);
  EXPECT_EQ(std::filesystem::file_size(path), uint64_t{5} << 20);
}

}  // namespace
}  // namespace chimewell
