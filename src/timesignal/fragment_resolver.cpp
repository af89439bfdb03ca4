#include "timesignal/fragment_resolver.h"

#include "platform/file_system.h"
#include "timesignal/compose_rules.h"
#include "timesignal/messages.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

namespace text = timesignal_text;

class Resolver {
 public:
  Resolver(const TimeSignalSettings& settings, const FileSystem& files)
      : settings_(settings), files_(files), prefix_(VoiceFilePrefix(settings.VoiceFolder)) {
    out_.image = settings.VoiceImage;
  }

  void Add(const ComposedItem& item) {
    switch (item.kind) {
      case ComposedItem::Kind::kReport:
        out_.report += item.text;
        break;
      case ComposedItem::Kind::kAddOn:
        out_.fragments.push_back(Entry(item.number - 1));
        break;
      case ComposedItem::Kind::kAddOff:
        AddOff(item.number);
        break;
      case ComposedItem::Kind::kVoiceFile:
        if (settings_.VoiceType == 2) {
          TypeTwoFile(item.text);
        } else {
          const int index = VoiceListIndex(settings_.VoiceType, item.text);
          out_.fragments.push_back(index < 0 ? kAbsentFragment
                                             : Entry(kVoiceSetFirstEntry + index));
        }
        break;
    }
  }

  ResolvedFragments Take() {
    if (extra_) out_.image = std::move(extra_);
    return std::move(out_);
  }

 private:
  int32_t Entry(int index) const {
    const auto& offsets = settings_.FragmentOffsets;
    return index >= 0 && static_cast<size_t>(index) < offsets.size() ? offsets[index]
                                                                     : kAbsentFragment;
  }

  // Reads a file into this announcement's own image; kAbsentFragment when it is not there.
  int32_t Read(const std::string& path, bool& unreadable) {
    unreadable = false;
    if (path.empty() || !files_.FileExists(path)) return kAbsentFragment;
    const std::optional<std::string> bytes = files_.ReadFile(path, FileKind::kVoice);
    if (!extra_) extra_ = std::make_shared<VoiceImage>(settings_.VoiceImage);
    const int32_t offset = bytes ? extra_->Append(*bytes) : kAbsentFragment;
    unreadable = offset == kAbsentFragment;
    return offset;
  }

  void TypeTwoFile(const std::string& name) {
    const std::string path = prefix_ + name;
    bool unreadable = false;
    out_.fragments.push_back(Read(path, unreadable));
    if (out_.fragments.back() == kAbsentFragment) {
      out_.report += compose::Concat(
          {"[", path, unreadable ? text::kTypeTwoUnreadableSuffix : text::kTypeTwoMissingSuffix});
    }
  }

  void AddOff(int number) {
    const std::string& path = settings_.AddOffPaths[number - 1];
    bool unreadable = false;
    out_.fragments.push_back(Read(path, unreadable));
    if (out_.fragments.back() == kAbsentFragment) {
      out_.report += compose::Concat(
          {text::kAddOffMissingPrefix, path,
           unreadable ? text::kAddOffUnreadableSuffix : text::kAddOffMissingSuffix});
    }
  }

  const TimeSignalSettings& settings_;
  const FileSystem& files_;
  const std::string prefix_;
  std::shared_ptr<VoiceImage> extra_;
  ResolvedFragments out_;
};

}  // namespace

ResolvedFragments ResolveFragments(const std::vector<ComposedItem>& items,
                                   const TimeSignalSettings& settings, const FileSystem& files) {
  Resolver resolver(settings, files);
  for (const ComposedItem& item : items) resolver.Add(item);
  return resolver.Take();
}

}  // namespace chimewell
