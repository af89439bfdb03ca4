#pragma once
// The voice image: whole WAVE files held back to back in memory, addressed by 32-bit offsets.
//
// An image never changes once it is shared. The worker that plays a time signal holds the image
// by shared_ptr, so reloading the settings or composing the next announcement can never free or
// overwrite bytes under a playing fragment. Files read for one announcement go into a fresh
// image layered on the preloaded one, so the preloaded bytes are not copied.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace chimewell {

inline constexpr int32_t kAbsentFragment = -1;

class VoiceImage {
 public:
  VoiceImage() = default;
  // An image that continues `base`: its own files start at base->Size().
  explicit VoiceImage(std::shared_ptr<const VoiceImage> base);

  // Appends a whole file and returns its offset. An empty file, which nothing could play, and a
  // file that would take the image past what a 32-bit offset addresses give kAbsentFragment.
  int32_t Append(std::string_view file_bytes);

  // The whole file that starts at `offset`; empty for kAbsentFragment or an offset where no
  // file starts.
  std::span<const uint8_t> FileAt(int32_t offset) const;

  // The end of the image (the base's files included).
  size_t Size() const { return base_size_ + bytes_.size(); }

 private:
  std::shared_ptr<const VoiceImage> base_;
  size_t base_size_ = 0;
  std::vector<uint8_t> bytes_;
  std::vector<size_t> starts_;  // offsets, relative to bytes_, of the files appended here
};

using SharedVoiceImage = std::shared_ptr<const VoiceImage>;

}  // namespace chimewell
