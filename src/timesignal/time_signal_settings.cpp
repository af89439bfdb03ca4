#include "timesignal/time_signal_settings.h"

#include <algorithm>

#include "platform/file_system.h"
#include "timesignal/messages.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

namespace text = timesignal_text;

enum class LoadResult { kLoaded, kMissing, kUnreadable };

// Appends the file at `path` to `image` and its offset to `offsets` (kAbsentFragment when it
// cannot be had).
LoadResult LoadFile(const FileSystem& files, const std::string& path, VoiceImage& image,
                    std::vector<int32_t>& offsets) {
  offsets.push_back(kAbsentFragment);
  if (path.empty() || !files.FileExists(path)) return LoadResult::kMissing;
  const std::optional<std::string> bytes = files.ReadFile(path, FileKind::kVoice);
  if (!bytes) return LoadResult::kUnreadable;
  offsets.back() = image.Append(*bytes);
  return offsets.back() == kAbsentFragment ? LoadResult::kUnreadable : LoadResult::kLoaded;
}

bool ReportsMissingFiles(int type) { return type == 1 || type == 4 || type == 5; }

}  // namespace

std::string NativeFolder(const std::string& folder) {
  std::string native = folder;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

std::string VoiceFilePrefix(const std::string& folder) {
  if (folder.empty()) return {};
  const std::string native = NativeFolder(folder);
  return native.back() == '/' ? native : native + "/";
}

std::string LoadTimeSignalSettings(const JihoSettings& jiho, const FileSystem& files,
                                   TimeSignalSettings& out) {
  TimeSignalSettings loaded;
  loaded.VoiceFolder = NativeFolder(jiho.Folder);
  loaded.TimeSignalFormat = jiho.Format;
  loaded.VoiceType = jiho.Type;
  loaded.VoiceVariant = jiho.MLVC;
  loaded.ShowTimeSignalErrors = jiho.ErrorView;
  loaded.AddOffPaths = jiho.AddOff;

  std::string report;
  auto image = std::make_shared<VoiceImage>();
  // AddOn files are optional extras: only one that exists and cannot be read is worth a word.
  for (const std::string& path : jiho.AddOn) {
    if (LoadFile(files, path, *image, loaded.FragmentOffsets) == LoadResult::kUnreadable) {
      report += path;
      report += text::kFileUnreadableSuffix;
    }
  }

  const int type = loaded.VoiceType;
  if (type < 0 || type > kLastVoiceSetType) {
    report += text::kUnsupportedTypeOnLoad;
  } else {
    const std::string prefix = VoiceFilePrefix(loaded.VoiceFolder);
    for (const std::string& name : VoiceList(type)) {
      switch (LoadFile(files, prefix + name, *image, loaded.FragmentOffsets)) {
        case LoadResult::kLoaded:
          break;
        case LoadResult::kMissing:
          if (ReportsMissingFiles(type)) report += name + std::string(text::kFileMissingSuffix);
          break;
        case LoadResult::kUnreadable:
          report += name + std::string(text::kFileUnreadableSuffix);
          break;
      }
    }
  }

  loaded.PreloadSize = image->Size();
  loaded.VoiceImage = std::move(image);
  out = std::move(loaded);
  return report;
}

}  // namespace chimewell
