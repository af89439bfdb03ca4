#pragma once
// INI files: case-insensitive sections and keys, integer and boolean values, atomic rewrites.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/text_encoding.h"

namespace chimewell {

// The integer rule of INI values (see IniFile::ReadInteger); nullopt when `text` does not convert.
std::optional<int> ParseIniInteger(std::string_view text);

// A settings file could not be written; what() is "<path> に書き込めません".
class IniWriteError : public FileWriteError {
 public:
  explicit IniWriteError(const std::filesystem::path& path);
};

// One INI file, read whole when constructed. Reads answer from that copy; writes change the
// copy, and Save() replaces the file with it in one step, so a writer opens the file, sets its
// keys in order and saves once. Sections and keys match without regard to ASCII letter case.
// Lines that are not touched (comments, other sections and keys, their order) are kept as
// they stand. A file is saved in the encoding it was read in: a CP932 file (from the Windows
// program) stays CP932, its untouched lines byte for byte, unless a new value has a character
// CP932 cannot hold; then the whole file becomes UTF-8.
class IniFile {
 public:
  // Values longer than this many characters (code points) are cut when read.
  static constexpr size_t kMaxValueChars = 2047;

  // Reads `path`; a missing file reads as empty and is created by Save().
  explicit IniFile(std::filesystem::path path);
  // The file as if `bytes` had been read from `path`.
  static IniFile FromBytes(std::filesystem::path path, std::string_view bytes);

  const std::filesystem::path& path() const { return path_; }

  // The stored value (without surrounding blanks or one pair of enclosing quotes), or
  // `default_value` when the key or file is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  // "0x"/"0X" followed by hexadecimal digits (more than 2 characters in all) is read as a 32-bit
  // pattern; anything else must be a whole signed decimal int (an optional + or -, then
  // digits). A value that does not convert, or does not fit, yields `default_value`.
  int ReadInteger(std::string_view section, std::string_view key, int default_value) const;
  // Any integer other than 0 is true; a value that does not convert yields `default_value`.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  // Sets a key, adding the section (at the end) or the key (after the section's last key) if
  // needed. Line breaks in the value become blanks, since a value is one line, and bytes that
  // are not UTF-8 become U+FFFD.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Replaces the file with the current contents: a temporary file in the same folder, flushed
  // to disk, then renamed over the old one. Throws IniWriteError when any step fails; the old
  // file is then left as it was. Tells whether a CP932 file had to become UTF-8.
  EncodingChange Save() const;

 private:
  IniFile() = default;
  void Parse(std::string_view bytes);
  // Index of the line holding the key, or npos.
  size_t FindKey(std::string_view section, std::string_view key) const;
  // Index of the first [section] line, or npos.
  size_t FindSection(std::string_view section) const;
  // One past the last key line of the section that starts at `section_line`.
  size_t EndOfSection(size_t section_line) const;

  // What Save() writes.
  EncodedFile Content() const;

  struct Line {
    std::string text;  // UTF-8
    // The line's bytes as read from a CP932 file, while it is unchanged: a byte CP932 does not
    // know reads as U+FFFD, but is written back as it was.
    std::optional<std::string> kept;
  };

  std::filesystem::path path_;
  std::vector<Line> lines_;
  FileEncoding encoding_ = FileEncoding::kUtf8;
  std::string line_end_ = "\n";
  bool bom_ = false;
  // True when the file exists but could not be read; saving then would lose its contents.
  bool unreadable_ = false;
};

}  // namespace chimewell
