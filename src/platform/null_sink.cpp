// The sink without an output: it keeps real time by sleeping, so the mixer's pace is the same
// as with a device. Owned by its mixer, and called only on the mixing thread.
#include <memory>

#include "platform/audio_sink.h"
#include "platform/real_time_pacer.h"

namespace chimewell {
namespace {

class NullSink final : public AudioSink {
 public:
  bool Write(const int16_t*, size_t frames) override {
    pacer_.Pace(frames);
    return true;
  }
  void Close() override {}
  std::string Describe() const override { return "null"; }
  std::chrono::microseconds Delay() override { return pacer_.Ahead(); }

 private:
  RealTimePacer pacer_{SystemSteadyTime()};
};

}  // namespace

std::unique_ptr<AudioSink> MakeNullSink() { return std::make_unique<NullSink>(); }

}  // namespace chimewell
