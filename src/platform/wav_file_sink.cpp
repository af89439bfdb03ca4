// The WAV capture: every moment of the mix, silences included, written into a file at the pace
// it would play. Owned by its mixer, and called only on the mixing thread.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/audio_sink.h"
#include "platform/platform_texts.h"
#include "platform/real_time_pacer.h"
#include "platform/wave_file.h"

namespace chimewell {
namespace {

class WavFileSink final : public AudioSink {
 public:
  WavFileSink(std::string path, int fd, std::function<void(const std::string&)> report)
      : path_(std::move(path)), fd_(fd), report_(std::move(report)) {
    WriteHeader();
  }
  ~WavFileSink() override { Close(); }

  bool Write(const int16_t* samples, size_t frames) override {
    if (fd_ >= 0) {
      const size_t bytes = frames * kMixChannels * sizeof(int16_t);
      // Stop before the RIFF size field would overflow (about six hours of sound).
      if (data_bytes_ + bytes < kMaxDataBytes &&
          WriteAt(44 + data_bytes_, samples, bytes)) {  // little-endian host
        data_bytes_ += bytes;
        // Keeping the header current lets a reader open the file while it grows.
        if (++writes_since_header_ >= kHeaderEvery) WriteHeader();
      }
    }
    pacer_.Pace(frames);
    return true;
  }

  void Close() override {
    if (fd_ < 0) return;
    WriteHeader();
    if (::close(fd_) != 0) Failed();
    fd_ = -1;
  }

  std::string Describe() const override { return "wav:" + path_; }
  bool KeepsTimeline() const override { return true; }
  std::chrono::microseconds Delay() override { return pacer_.Ahead(); }

 private:
  static constexpr int kHeaderEvery = 10;
  static constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 64;

  void WriteHeader() {
    const auto header = WaveHeader(kMixRate, kMixChannels, static_cast<uint32_t>(data_bytes_));
    WriteAt(0, header.data(), header.size());
    writes_since_header_ = 0;
  }

  // A full disk or a vanished medium is told once; the samples of a failed write are lost.
  bool WriteAt(uint64_t offset, const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        Failed();
        return false;
      }
      p += n;
      offset += static_cast<uint64_t>(n);
      size -= static_cast<size_t>(n);
    }
    return true;
  }

  void Failed() {
    if (failed_) return;
    failed_ = true;
    if (report_) report_(platform_texts::CaptureCannotWrite(path_));
  }

  std::string path_;
  int fd_;
  std::function<void(const std::string&)> report_;
  uint64_t data_bytes_ = 0;
  int writes_since_header_ = 0;
  bool failed_ = false;
  RealTimePacer pacer_{SystemSteadyTime()};
};

}  // namespace

std::unique_ptr<AudioSink> MakeWavFileSink(const std::string& path,
                                           std::function<void(const std::string&)> report) {
  // Close-on-exec: the speech processes we start must not hold the capture open.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<WavFileSink>(path, fd, std::move(report));
}

}  // namespace chimewell
