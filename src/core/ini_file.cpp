#include "core/ini_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "core/ascii_text.h"
#include "core/atomic_file.h"
#include "core/bounded_file.h"
#include "core/number_text.h"
#include "core/text_encoding.h"

namespace chimewell {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (!line.starts_with('[')) return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;  // as stored, blanks trimmed
};

// The key and value of a "key=value" line; nullopt for comments, blank lines and the like.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#' || trimmed[0] == '[') {
    return std::nullopt;
  }
  const size_t eq = trimmed.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = Trim(trimmed.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, Trim(trimmed.substr(eq + 1))};
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool IsEnclosedInQuotes(std::string_view s) {
  return s.size() >= 2 && IsQuote(s.front()) && s.front() == s.back();
}

// The stored form of a value: UTF-8 (a stray byte would make the whole file read as CP932),
// one line, and quoted where reading would otherwise change it (surrounding blanks, or quotes
// of its own around it).
std::string StoredValue(std::string_view value) {
  std::string out = ToValidUtf8(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  if (Trim(out).size() != out.size() || IsEnclosedInQuotes(out)) out = '"' + out + '"';
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    // Hexadecimal is a 32-bit pattern: 0xFFFFFFFF is -1, more than that does not fit.
    uint64_t value = 0;
    for (const char c : text.substr(2)) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  return ParseDecimalInteger(text);
}

IniWriteError::IniWriteError(const fs::path& path) : FileWriteError(path) {}

IniFile::IniFile(fs::path path) : path_(std::move(path)) {
  const std::optional<std::string> bytes = ReadRegularFile(path_.string(), FileKind::kScript);
  if (!bytes) {
    // Anything but a missing file (also one too large to be ours) is kept from being overwritten.
    unreadable_ = errno != ENOENT && errno != ENOTDIR;
    return;
  }
  Parse(*bytes);
}

IniFile IniFile::FromBytes(fs::path path, std::string_view bytes) {
  IniFile file;
  file.path_ = std::move(path);
  file.Parse(bytes);
  return file;
}

void IniFile::Parse(std::string_view bytes) {
  DecodedFile file = DecodeFile(bytes);
  bom_ = file.bom;
  encoding_ = file.encoding;
  const std::string& text = file.text;
  if (text.find("\r\n") != std::string::npos) line_end_ = "\r\n";
  // CP932 never uses the byte of a line feed inside a character, so the raw bytes split at
  // the same places as the text.
  const auto split = [](std::string_view all, auto&& take) {
    size_t start = 0;
    while (start < all.size()) {
      size_t end = all.find('\n', start);
      if (end == std::string_view::npos) end = all.size();
      std::string_view line = all.substr(start, end - start);
      if (line.ends_with('\r')) line.remove_suffix(1);
      take(line);
      start = end + 1;
    }
  };
  split(text, [this](std::string_view line) { lines_.push_back({std::string(line), {}}); });
  if (encoding_ == FileEncoding::kCp932) {
    size_t i = 0;
    split(bytes, [this, &i](std::string_view raw) {
      if (i < lines_.size()) lines_[i++].kept = std::string(raw);
    });
  }
}

size_t IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i].text);
    if (name && EqualsIgnoreAsciiCase(*name, section)) return i;
  }
  return std::string::npos;
}

size_t IniFile::EndOfSection(size_t section_line) const {
  size_t end = section_line + 1;
  for (size_t i = section_line + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i) {
    if (ParseKeyLine(lines_[i].text)) end = i + 1;
  }
  return end;
}

size_t IniFile::FindKey(std::string_view section, std::string_view key) const {
  bool in_section = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = SectionName(lines_[i].text)) {
      // A section that appears twice is searched in both places, first one first.
      in_section = EqualsIgnoreAsciiCase(*name, section);
    } else if (in_section) {
      const auto entry = ParseKeyLine(lines_[i].text);
      if (entry && EqualsIgnoreAsciiCase(entry->key, key)) return i;
    }
  }
  return std::string::npos;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  const size_t index = FindKey(section, key);
  if (index == std::string::npos) return std::string(default_value);
  std::string_view value = ParseKeyLine(lines_[index].text)->value;
  if (IsEnclosedInQuotes(value)) value = value.substr(1, value.size() - 2);
  return std::string(Utf8Prefix(value, kMaxValueChars));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int default_value) const {
  return ParseIniInteger(ReadString(section, key, "")).value_or(default_value);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const size_t index = FindKey(section, key);
  if (index != std::string::npos) {
    // Keep the key as the file spells it; only the value changes.
    lines_[index] = {std::string(ParseKeyLine(lines_[index].text)->key) + "=" + StoredValue(value),
                     {}};
    return;
  }
  std::string line = std::string(key) + "=" + StoredValue(value);
  const size_t section_line = FindSection(section);
  if (section_line == std::string::npos) {
    lines_.push_back({"[" + std::string(section) + "]", {}});
    lines_.push_back({std::move(line), {}});
    return;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(EndOfSection(section_line)),
                Line{std::move(line), {}});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

EncodedFile IniFile::Content() const {
  if (encoding_ == FileEncoding::kCp932) {
    std::string bytes;
    bool held = true;
    for (const Line& line : lines_) {
      const std::optional<std::string> cp932 = line.kept ? line.kept : Utf8ToCp932(line.text);
      held = held && cp932.has_value();
      if (held) bytes += *cp932 + line_end_;
    }
    if (held) return {std::move(bytes)};
  }
  std::string text;
  for (const Line& line : lines_) text += line.text + line_end_;
  return EncodeFile(text, encoding_, bom_);
}

EncodingChange IniFile::Save() const {
  if (unreadable_) throw IniWriteError(path_);
  const EncodedFile content = Content();
  try {
    ReplaceFile(path_, content.bytes);
  } catch (const FileWriteError&) {
    throw IniWriteError(path_);
  }
  return content.change;
}

}  // namespace chimewell
