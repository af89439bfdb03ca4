#include "core/ini_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "core/text_encoding.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(ParseIniInteger, DecimalAndHexRules) {
  EXPECT_EQ(ParseIniInteger("8080"), 8080);
  EXPECT_EQ(ParseIniInteger("+5"), 5);
  EXPECT_EQ(ParseIniInteger("-500"), -500);
  EXPECT_EQ(ParseIniInteger("007"), 7);
  EXPECT_EQ(ParseIniInteger("0x1F90"), 8080);
  EXPECT_EQ(ParseIniInteger("0XfF"), 255);
  EXPECT_EQ(ParseIniInteger("0xFFFFFFFF"), -1);  // a 32-bit pattern
  EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseIniInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad :
       {"", "abc", "12abc", "1 2", "+", "-", "0x", "0x-1", "0x1G", "$10", "-0x10", "2147483648",
        "-2147483649", "0x100000000", "99999999999999999999", "１２"}) {
    EXPECT_FALSE(ParseIniInteger(bad)) << bad;
  }
}

class IniFileTest : public ::testing::Test {
 protected:
  std::filesystem::path File(std::string_view bytes) {
    WriteBytes(path_, bytes);
    return path_;
  }
  TempDir dir_;
  std::filesystem::path path_ = dir_ / "chimewell.ini";
};

TEST_F(IniFileTest, ReadsValuesWithTheirTypes) {
  const IniFile ini(File(
      "; settings\n[App]\nPortNumber = 0x1F91 \nWidth=12abc\nName=  two words  \n"
      "Quoted=\" padded \"\nEmpty=\n[Config]\nLipsView=2\nIconicStart=yes\nDoubleClick= -1\n"));
  EXPECT_EQ(ini.ReadInteger("App", "PortNumber", 1), 8081);
  EXPECT_EQ(ini.ReadInteger("App", "Width", 391), 391);
  EXPECT_EQ(ini.ReadString("App", "Name", "x"), "two words");
  EXPECT_EQ(ini.ReadString("App", "Quoted", "x"), " padded ");
  EXPECT_EQ(ini.ReadString("App", "Empty", "x"), "");
  EXPECT_EQ(ini.ReadInteger("App", "Empty", 9), 9);
  EXPECT_EQ(ini.ReadString("App", "Missing", "x"), "x");
  EXPECT_EQ(ini.ReadString("Nowhere", "Name", "x"), "x");
  EXPECT_TRUE(ini.ReadBool("Config", "LipsView", false));
  EXPECT_FALSE(ini.ReadBool("Config", "IconicStart", false));
  EXPECT_TRUE(ini.ReadBool("Config", "IconicStart", true));
  EXPECT_TRUE(ini.ReadBool("Config", "DoubleClick", false));
  // A comment is not a key, even when it looks like one.
  EXPECT_EQ(ini.ReadString("App", "; settings", "none"), "none");
}

TEST_F(IniFileTest, SectionsAndKeysMatchInAnyCase) {
  const IniFile ini(File("[jiho]\nFORMAT=[hour]\n[ Clock ]\nbackcolor=255\n"));
  EXPECT_EQ(ini.ReadString("Jiho", "Format", ""), "[hour]");
  EXPECT_EQ(ini.ReadInteger("CLOCK", "BackColor", 0), 255);
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedOnSave) {
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadInteger("App", "Width", 391), 391);
  ini.WriteInteger("App", "Width", 500);
  ini.WriteBool("Config", "LipsView", true);
  ini.Save();
  EXPECT_EQ(ReadBytes(path_), "[App]\nWidth=500\n[Config]\nLipsView=1\n");
}

TEST_F(IniFileTest, WriteKeepsCommentsOtherKeysAndOrder) {
  File("; my clock\r\n[App]\r\nWidth=10\r\n; keep me\r\nOther=x\r\n\r\n[Clock]\r\nBackColor=1\r\n");
  IniFile ini(path_);
  ini.WriteInteger("app", "width", 20);    // existing key, matched in another case
  ini.WriteString("App", "New1", "a");     // new keys go after the section's last key,
  ini.WriteString("App", "New2", "b");     // in the order written
  ini.WriteString("Jiho", "Format", "x");  // new section at the end
  ini.Save();
  EXPECT_EQ(ReadBytes(path_),
            "; my clock\r\n[App]\r\nWidth=20\r\n; keep me\r\nOther=x\r\nNew1=a\r\nNew2=b\r\n\r\n"
            "[Clock]\r\nBackColor=1\r\n[Jiho]\r\nFormat=x\r\n");
}

TEST_F(IniFileTest, ValuesReadBackUnchanged) {
  const char* values[] = {
      " lead and trail ", "\"quoted\"", "'single'", "a=b;c", "C:\\音声\\表示", ""};
  IniFile ini(path_);
  for (size_t i = 0; i < std::size(values); ++i) {
    ini.WriteString("S", "K" + std::to_string(i), values[i]);
  }
  ini.WriteString("S", "Lines", "one\r\ntwo\nthree");
  ini.Save();
  const IniFile back(path_);
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(back.ReadString("S", "K" + std::to_string(i), "?"), values[i]);
  }
  // A value is one line: a line break cannot smuggle in another key.
  EXPECT_EQ(back.ReadString("S", "Lines", "?"), "one  two three");
  EXPECT_EQ(back.ReadString("S", "two", "none"), "none");
}

TEST_F(IniFileTest, LongValuesAreCutAtWholeCharacters) {
  std::string value;
  for (int i = 0; i < 2100; ++i) value += "時";
  const IniFile ini(File("[S]\nK=" + value + "\nA=" + std::string(5000, 'a') + "\n"));
  const std::string read = ini.ReadString("S", "K", "");
  EXPECT_EQ(read.size(), IniFile::kMaxValueChars * 3);
  EXPECT_TRUE(IsValidUtf8(read));
  EXPECT_EQ(ini.ReadString("S", "A", "").size(), IniFile::kMaxValueChars);
}

TEST_F(IniFileTest, FilesAreSavedInTheEncodingTheyWereReadIn) {
  // [Jiho] Folder=時報表示 in CP932 (表 ends in the byte of a backslash) and a comment with a
  // byte CP932 does not know.
  const std::string cp932 =
      "[Jiho]\r\nFolder=\x8e\x9e\x95\xf1\x95\x5c\x8e\xa6\r\n;\xA0\r\nType=1\r\n";
  File(cp932);
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadString("Jiho", "Folder", ""), "時報表示");
  ini.WriteInteger("Jiho", "Type", 2);
  ini.WriteString("Jiho", "Format", "時刻");
  EXPECT_EQ(ini.Save(), EncodingChange::kNone);
  EXPECT_EQ(ReadBytes(path_),
            "[Jiho]\r\nFolder=\x8e\x9e\x95\xf1\x95\x5c\x8e\xa6\r\n;\xA0\r\nType=2\r\n"
            "Format=\x8e\x9e\x8d\x8f\r\n");

  // A value CP932 cannot hold makes the whole file UTF-8, and Save says so.
  IniFile again(path_);
  again.WriteString("Jiho", "Format", "😀");
  EXPECT_EQ(again.Save(), EncodingChange::kCp932BecameUtf8);
  EXPECT_EQ(ReadBytes(path_), "[Jiho]\r\nFolder=時報表示\r\n;\uFFFD\r\nType=2\r\nFormat=😀\r\n");

  // UTF-8 with a stray byte stays UTF-8: only that byte is replaced.
  File("[Jiho]\nFormat=時報\xFFです\nType=1\n");
  IniFile utf8(path_);
  utf8.WriteInteger("Jiho", "Type", 3);
  EXPECT_EQ(utf8.Save(), EncodingChange::kNone);
  EXPECT_EQ(ReadBytes(path_), "[Jiho]\nFormat=時報\uFFFDです\nType=3\n");
}

TEST_F(IniFileTest, ByteOrderMarkIsSkippedAndKept) {
  File("\xEF\xBB\xBF[App]\nWidth=5\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadInteger("App", "Width", 0), 5);
  ini.WriteInteger("App", "Width", 6);
  ini.Save();
  EXPECT_EQ(ReadBytes(path_), "\xEF\xBB\xBF[App]\nWidth=6\n");
}

TEST_F(IniFileTest, SaveWritesThroughASymbolicLink) {
  const auto real = dir_ / "real.ini";
  WriteBytes(real, "[App]\nWidth=1\n");
  std::filesystem::create_symlink(real, path_);
  IniFile ini(path_);
  ini.WriteInteger("App", "Width", 2);
  ini.Save();
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_EQ(ReadBytes(real), "[App]\nWidth=2\n");
}

// Expects Save() to fail with the file's own message.
void ExpectSaveFails(const IniFile& ini) {
  try {
    ini.Save();
    ADD_FAILURE() << "Save() succeeded";
  } catch (const IniWriteError& e) {
    EXPECT_EQ(std::string(e.what()), ini.path().string() + " に書き込めません");
  }
}

TEST_F(IniFileTest, FailedWriteReportsThePathAndKeepsTheOldFile) {
  // The folder is a plain file, so nothing can be created in it.
  WriteBytes(dir_ / "folder", "not a folder");
  IniFile in_file(dir_ / "folder" / "chimewell.ini");
  in_file.WriteInteger("App", "Width", 1);
  ExpectSaveFails(in_file);

  // The disk "fills up" halfway through the new contents.
  const std::string old_contents = "; comment\n[App]\nWidth=10\n";
  File(old_contents);
  IniFile ini(path_);
  ini.WriteString("App", "Big", std::string(4096, 'x'));
  {
    const testing::FileSizeLimit full_disk(1024);
    ExpectSaveFails(ini);
  }

  EXPECT_EQ(ReadBytes(path_), old_contents);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
}

TEST_F(IniFileTest, ReadOnlyFolderReportsTheWriteError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
  const std::string old_contents = "[App]\nWidth=10\n";
  File(old_contents);
  std::filesystem::permissions(
      dir_.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  IniFile ini(path_);
  ini.WriteInteger("App", "Width", 20);
  ExpectSaveFails(ini);
  std::filesystem::permissions(dir_.path(), std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadBytes(path_), old_contents);
}

TEST_F(IniFileTest, UnreadableFileIsNeverReplaced) {
  // A settings "file" that cannot be read must not be overwritten with only the new keys.
  std::filesystem::create_directory(path_);
  IniFile ini(path_);
  ini.WriteInteger("App", "Width", 1);
  ExpectSaveFails(ini);
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

}  // namespace
}  // namespace chimewell

namespace chimewell {
namespace {

TEST(IniFileBytes, AnyBytesReadAndSaveWithoutHarm) {
  TempDir dir;
  const auto path = dir / "noise.ini";
  uint32_t seed = 12345;
  static constexpr char kAlphabet[] = "[]=;\r\n \t\"'0xAp\x81\x8e\xe6\xff\0";
  const std::string_view alphabet(kAlphabet, sizeof kAlphabet - 1);
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
      seed = seed * 1664525 + 1013904223;
      bytes += alphabet[(seed >> 16) % alphabet.size()];
    }
    WriteBytes(path, bytes);
    IniFile ini(path);
    (void)ini.ReadString("A", "p", "");
    (void)ini.ReadInteger("a", "P", 0);
    ini.WriteString("A", "p", bytes);
    ini.Save();
    // Whatever was there, the value written is the value read.
    std::string expected = ToValidUtf8(bytes);
    for (char& c : expected) {
      if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    EXPECT_EQ(IniFile(path).ReadString("a", "P", "?"), expected);
  }
}

}  // namespace
}  // namespace chimewell
