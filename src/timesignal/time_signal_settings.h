#pragma once
// The loaded time-signal settings: the [Jiho] values and the selected voice set in memory.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings.h"
#include "playback/voice_image.h"

namespace chimewell {

class FileSystem;

// AddOn files take the first entries of FragmentOffsets; the voice set's files follow.
inline constexpr int kVoiceSetFirstEntry = kAddOnCount;

struct TimeSignalSettings {
  std::string VoiceFolder = ".";
  std::string TimeSignalFormat = "[hour][min]";
  int VoiceType = 0;
  int VoiceVariant = 0;
  bool ShowTimeSignalErrors = true;
  std::array<std::string, kAddOnCount> AddOffPaths;
  // The AddOn files, then the files of the voice set's list, as loaded.
  SharedVoiceImage VoiceImage = std::make_shared<const chimewell::VoiceImage>();
  // Entry per AddOn file, then per name of the voice set's list; kAbsentFragment when absent.
  std::vector<int32_t> FragmentOffsets;
  size_t PreloadSize = 0;
};

// Reads the values of `jiho` and loads the AddOn files and the voice set of the selected type
// into a new image. Returns the report: the missing files (types 1, 4 and 5), files that exist
// but cannot be read, or an unsupported type; empty when all is well.
std::string LoadTimeSignalSettings(const JihoSettings& jiho, const FileSystem& files,
                                   TimeSignalSettings& out);

// The folder as this system spells it: a folder written on Windows uses "\" between its parts.
std::string NativeFolder(const std::string& folder);
// What goes in front of a voice file's name: the folder and "/", or nothing for no folder.
std::string VoiceFilePrefix(const std::string& folder);

}  // namespace chimewell
