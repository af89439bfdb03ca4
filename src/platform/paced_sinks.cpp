// The sinks without a device: they keep real time by sleeping.
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/audio_sink.h"
#include "platform/wave_file.h"

namespace chimewell {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Sleeps so that writes follow the sample clock. After a long stall (a loaded machine) it
// starts counting afresh instead of rushing to catch up.
class RealTimePacer {
 public:
  void Pace(size_t frames) {
    const auto now = SteadyClock::now();
    if (frames_ == 0 || now - Due() > kMaxLag) {
      start_ = now;
      frames_ = 0;
    }
    frames_ += frames;
    // Return as the previous block finishes sounding, one block ahead like a device buffer.
    const auto due = Due() - FrameTime(frames);
    if (due > now) std::this_thread::sleep_until(due);
  }

 private:
  static constexpr auto kMaxLag = std::chrono::milliseconds(200);
  static SteadyClock::duration FrameTime(size_t frames) {
    return std::chrono::duration_cast<SteadyClock::duration>(
        std::chrono::duration<double>(static_cast<double>(frames) / kMixRate));
  }
  SteadyClock::time_point Due() const { return start_ + FrameTime(frames_); }

  SteadyClock::time_point start_;
  size_t frames_ = 0;
};

class NullSink final : public AudioSink {
 public:
  void Write(const int16_t*, size_t frames) override { pacer_.Pace(frames); }
  void Close() override {}
  std::string Describe() const override { return "null"; }

 private:
  RealTimePacer pacer_;
};

class WavFileSink final : public AudioSink {
 public:
  WavFileSink(std::string path, std::FILE* file) : path_(std::move(path)), file_(file) {
    WriteHeader();
  }
  ~WavFileSink() override { Close(); }

  void Write(const int16_t* samples, size_t frames) override {
    if (!file_) return;
    const size_t count = frames * kMixChannels;
    const size_t bytes = count * sizeof(int16_t);
    // Stop before the RIFF size field would overflow (about six hours of sound).
    if (data_bytes_ + bytes < kMaxDataBytes) {
      std::fwrite(samples, sizeof(int16_t), count, file_);  // little-endian host
      data_bytes_ += bytes;
      // Keeping the header current lets a reader open the file while it grows.
      if (++writes_since_header_ >= kHeaderEvery) WriteHeader();
    }
    pacer_.Pace(frames);
  }

  void Close() override {
    if (!file_) return;
    WriteHeader();
    std::fclose(file_);
    file_ = nullptr;
  }

  std::string Describe() const override { return "wav:" + path_; }
  bool KeepsTimeline() const override { return true; }

 private:
  static constexpr int kHeaderEvery = 10;
  static constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 64;

  void WriteHeader() {
    const auto header = WaveHeader(kMixRate, kMixChannels, static_cast<uint32_t>(data_bytes_));
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite(header.data(), 1, header.size(), file_);
    std::fseek(file_, 0, SEEK_END);
    std::fflush(file_);
    writes_since_header_ = 0;
  }

  std::string path_;
  std::FILE* file_;
  uint64_t data_bytes_ = 0;
  int writes_since_header_ = 0;
  RealTimePacer pacer_;
};

}  // namespace

std::unique_ptr<AudioSink> MakeNullSink() { return std::make_unique<NullSink>(); }

std::unique_ptr<AudioSink> MakeWavFileSink(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return nullptr;
  return std::make_unique<WavFileSink>(path, file);
}

}  // namespace chimewell
