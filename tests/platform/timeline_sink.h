#pragma once
// A sink that passes everything on and notes when each block began to sound: the moment its
// write returned, which for a paced sink (the capture, nothing) is when the block before it
// has finished. That timeline tells where a frame of the capture was heard.
#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio_sink.h"
#include "platform/mixer.h"

namespace chimewell::testing {

class TimelineSink final : public AudioSink {
 public:
  explicit TimelineSink(std::unique_ptr<AudioSink> inner) : inner_(std::move(inner)) {}

  bool Write(const int16_t* samples, size_t frames) override {
    const bool ok = inner_->Write(samples, frames);
    const std::lock_guard lock(mutex_);
    blocks_.push_back({written_, Mixer::SystemWallNow().UnixUs()});
    written_ += frames;
    return ok;
  }
  void Close() override { inner_->Close(); }
  std::string Describe() const override { return inner_->Describe(); }
  bool KeepsTimeline() const override { return inner_->KeepsTimeline(); }
  std::chrono::microseconds Delay() override { return inner_->Delay(); }

  // Frames written so far: the index the next block starts at.
  size_t Written() const {
    const std::lock_guard lock(mutex_);
    return written_;
  }

  // The wall-clock moment (µs since 1970) frame `frame` of the output was heard; -1 when it
  // has not been written.
  int64_t HeardAt(size_t frame) const {
    const std::lock_guard lock(mutex_);
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), frame,
                                        [](size_t f, const Block& b) { return f < b.first; });
    if (after == blocks_.begin() || frame >= written_) return -1;
    const Block& block = *(after - 1);
    return block.heard_us + static_cast<int64_t>(frame - block.first) * 1000000 / kMixRate;
  }

 private:
  struct Block {
    size_t first;
    int64_t heard_us;
  };
  std::unique_ptr<AudioSink> inner_;
  mutable std::mutex mutex_;
  std::vector<Block> blocks_;
  size_t written_ = 0;
};

}  // namespace chimewell::testing
