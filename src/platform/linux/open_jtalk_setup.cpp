#include "platform/linux/open_jtalk_setup.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/platform_texts.h"

namespace chimewell {
namespace {

namespace fs = std::filesystem;

const char* const kDictionaryPlaces[] = {
    "/var/lib/mecab/dic/open-jtalk/naist-jdic",
    "/usr/share/open-jtalk/dic",
    "/usr/local/share/open-jtalk/dic",
    "/usr/local/share/open_jtalk/dic",
    "/usr/local/dic",
};
const char* const kPreferredVoice =
    "/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice";
const char* const kVoiceFolders[] = {"/usr/share/hts-voice", "/usr/local/share/hts-voice"};

std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

std::string WorkFolderPrefix(const std::string& purpose) { return "chimewell-" + purpose + "-"; }

// The process id in the rest of a work folder's name, "<pid>-XXXXXX".
std::optional<pid_t> FolderOwner(std::string_view rest) {
  pid_t pid = 0;
  const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
  if (ec != std::errc() || pid <= 0 || end == rest.data() + rest.size() || *end != '-') {
    return std::nullopt;
  }
  return pid;
}

bool ProcessAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

bool IsDictionary(const fs::path& dir) {
  std::error_code ec;
  return fs::is_regular_file(dir / "sys.dic", ec);
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

bool CommandExists(const std::string& command) {
  if (command.find('/') != std::string::npos) return ::access(command.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && ::access((dir + "/" + command).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

std::string FindVoice() {
  if (IsFile(kPreferredVoice)) return kPreferredVoice;
  for (const char* folder : kVoiceFolders) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      if (it->path().extension() == ".htsvoice" && it->is_regular_file(ec)) return it->path();
    }
  }
  return "";
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// True when `piece` holds something to say: Open JTalk makes no sound (and reports failure) for
// text of blanks and punctuation only, such as the ideographic space spoken at start-up.
bool HasSpeakableText(std::string_view piece) {
  static constexpr std::string_view kSilent[] = {" ", "\u3000", "。", "、", "・", "…",  "！", "？",
                                                 "!", "?",      ".",  ",",  "「", "」", "『", "』"};
  while (!piece.empty()) {
    bool skipped = false;
    for (const std::string_view mark : kSilent) {
      if (piece.starts_with(mark)) {
        piece.remove_prefix(mark.size());
        skipped = true;
        break;
      }
    }
    if (!skipped) return true;
  }
  return false;
}

}  // namespace

OpenJTalkSetup FindOpenJTalk(OpenJTalkSetup given, std::string* missing) {
  if (given.command.empty()) given.command = "open_jtalk";
  if (given.dictionary.empty()) {
    for (const char* place : kDictionaryPlaces) {
      if (IsDictionary(place)) {
        given.dictionary = place;
        break;
      }
    }
  }
  if (given.voice.empty()) given.voice = FindVoice();
  std::string problem;
  if (!CommandExists(given.command)) {
    problem = platform_texts::kNoSpeechEngine;
  } else if (given.dictionary.empty() || !IsDictionary(given.dictionary)) {
    problem = platform_texts::kNoSpeechDictionary;
  } else if (!IsFile(given.voice)) {
    problem = platform_texts::kNoSpeechVoice;
  }
  if (missing) *missing = problem;
  return given;
}

std::vector<std::string> SplitForOpenJTalk(const std::string& text, size_t max_bytes) {
  std::string flat = text;
  for (char& c : flat) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start < flat.size()) {
    size_t end = std::min(start + max_bytes, flat.size());
    if (end < flat.size()) {
      // Prefer to cut after "。" or "、" (3 bytes each) in the second half of the piece.
      size_t cut = std::string::npos;
      for (const char* mark : {"。", "、", " "}) {
        const size_t at = flat.rfind(mark, end - std::char_traits<char>::length(mark));
        if (at != std::string::npos && at > start + max_bytes / 2) {
          cut = at + std::char_traits<char>::length(mark);
          break;
        }
      }
      if (cut != std::string::npos) {
        end = cut;
      } else {
        while (end > start && IsUtf8Continuation(flat[end])) --end;
        if (end == start) end = std::min(start + max_bytes, flat.size());
      }
    }
    std::string piece = flat.substr(start, end - start);
    if (HasSpeakableText(piece)) pieces.push_back(std::move(piece));
    start = end;
  }
  return pieces;
}

std::string MakeOpenJTalkWorkFolder(const std::string& purpose) {
  // A program that crashed left its folder behind; the first new one clears those away.
  static std::once_flag swept;
  std::call_once(swept, [&purpose] { RemoveStaleWorkFolders(purpose); });
  std::string pattern =
      TempFolder() + "/" + WorkFolderPrefix(purpose) + std::to_string(::getpid()) + "-XXXXXX";
  return ::mkdtemp(pattern.data()) ? pattern : "";
}

size_t RemoveStaleWorkFolders(const std::string& purpose) {
  const std::string prefix = WorkFolderPrefix(purpose);
  size_t removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(TempFolder(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    const std::optional<pid_t> owner = FolderOwner(std::string_view(name).substr(prefix.size()));
    if (!owner || *owner == ::getpid() || ProcessAlive(*owner)) continue;
    // Only a folder of ours: never a link, nor what another user put in a shared /tmp.
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
      continue;
    }
    std::error_code remove_ec;
    if (fs::remove_all(it->path(), remove_ec) > 0 && !remove_ec) ++removed;
  }
  return removed;
}

}  // namespace chimewell
