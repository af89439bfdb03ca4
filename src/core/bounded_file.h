#pragma once
// Reading a whole file with a ceiling: only regular files, and never more than the kind allows.
#include <cstdint>
#include <optional>
#include <string>

namespace chimewell {

// What a file is to us decides how large it may be. A larger one is treated like one that
// cannot be read: a stray multi-gigabyte file must not cost us its size in memory.
enum class FileKind {
  kSound,   // WAVE, MIDI and other sound files: 64 MiB
  kVoice,   // one voice-set or add-on file: 16 MiB
  kPage,    // the page template and the guide: 4 MiB
  kScript,  // the settings, info and schedule files: 4 MiB
};

uint64_t MaxFileBytes(FileKind kind);

// The whole of the regular file at `path`, or nullopt with errno set: ENOENT or ENOTDIR when
// it is missing, EINVAL when it is not a regular file (a folder, a pipe, a device), EFBIG when
// it holds more than `max_bytes`, or what the system said. Reads at most `max_bytes` + 1 bytes
// even when the file grows while it is read.
std::optional<std::string> ReadRegularFile(const std::string& path, uint64_t max_bytes);

inline std::optional<std::string> ReadRegularFile(const std::string& path, FileKind kind) {
  return ReadRegularFile(path, MaxFileBytes(kind));
}

}  // namespace chimewell
