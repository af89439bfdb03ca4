#include "playback/voice_image.h"

#include <algorithm>
#include <limits>

namespace chimewell {

VoiceImage::VoiceImage(std::shared_ptr<const VoiceImage> base)
    : base_(std::move(base)), base_size_(base_ ? base_->Size() : 0) {}

int32_t VoiceImage::Append(std::string_view file_bytes) {
  const size_t offset = Size();
  if (file_bytes.empty() ||
      file_bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) - offset) {
    return kAbsentFragment;
  }
  starts_.push_back(bytes_.size());
  bytes_.insert(bytes_.end(), file_bytes.begin(), file_bytes.end());
  return static_cast<int32_t>(offset);
}

std::span<const uint8_t> VoiceImage::FileAt(int32_t offset) const {
  if (offset < 0) return {};
  const auto at = static_cast<size_t>(offset);
  if (at < base_size_) return base_->FileAt(offset);
  const size_t local = at - base_size_;
  const auto it = std::lower_bound(starts_.begin(), starts_.end(), local);
  if (it == starts_.end() || *it != local) return {};
  const size_t end = (it + 1 == starts_.end()) ? bytes_.size() : *(it + 1);
  return std::span<const uint8_t>(bytes_).subspan(local, end - local);
}

}  // namespace chimewell
