#pragma once
// A sound device that may come and go: opened when sound is to be played, closed on a write
// error, reopened after a growing pause. Sound that falls in between is dropped, not delayed,
// and the writer is paced on the clock meanwhile, so it never spins.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/audio_sink.h"
#include "platform/real_time_pacer.h"
#include "platform/steady_time.h"

namespace chimewell {

class RecoveringSink final : public AudioSink {
 public:
  // Opens the device, or returns nullptr with a reason in `error`.
  using Opener = std::function<std::unique_ptr<AudioSink>(std::string* error)>;
  using Report = std::function<void(const std::string&)>;

  static constexpr std::chrono::milliseconds kFirstPause{500};
  static constexpr std::chrono::milliseconds kLongestPause{5000};

  // Tries the device at once: one that cannot be opened at start-up is reported like a lost
  // one and retried in the same way. `name` describes the sink while no device is open.
  RecoveringSink(Opener open, std::string name, Report report,
                 SteadyTime& time = SystemSteadyTime());
  ~RecoveringSink() override;

  bool Write(const int16_t* samples, size_t frames) override;
  void Close() override;
  std::string Describe() const override;
  std::chrono::microseconds Delay() override;

  bool DeviceOpen() const { return device_ != nullptr; }

 private:
  void TryOpen();
  void Lost();

  Opener open_;
  std::string name_;
  Report report_;
  SteadyTime& time_;
  RealTimePacer pacer_;
  std::unique_ptr<AudioSink> device_;
  bool lost_ = false;  // the loss was told and the recovery is not yet
  std::chrono::milliseconds pause_{0};
  SteadyTime::TimePoint retry_at_{};
};

}  // namespace chimewell
