#pragma once
// A sound device that may come and go: opened when sound is to be played, closed on a write
// error, reopened after a pause that grows until the device has played well for a while.
// Sound that falls in between is dropped, not delayed, and the writer is paced on the clock
// meanwhile, so it never spins. Owned and called by the mixing thread only; a reopening runs
// on a thread of its own and hands its device over through an Attempt.
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
  // Runs one reopening. The default starts a thread for it, so a device slow to answer (a
  // wedged sound server takes the whole connect limit) holds up neither the mixing nor anyone
  // waiting for a sound. Tests run it in place.
  using Launcher = std::function<void(std::function<void()> attempt)>;

  static constexpr std::chrono::milliseconds kFirstPause{500};
  // A device that is simply not there is looked for again at least this often, so sound
  // comes back soon after it returns.
  static constexpr std::chrono::milliseconds kLongestAbsentPause{5000};
  // A device that opens and then fails (a flapping USB or HDMI link, a half-dead server) is
  // left alone longer: each reopening costs a stall of the sound and a burst of messages.
  static constexpr std::chrono::milliseconds kLongestPause{30000};
  // The trouble is over, and the pause starts small again, only once the device has played
  // this long since it was opened.
  static constexpr std::chrono::milliseconds kSustained{10000};

  // Tries the device at once: one that cannot be opened at start-up is reported like a lost
  // one and retried in the same way. `name` describes the sink while no device is open.
  RecoveringSink(Opener open, std::string name, Report report,
                 SteadyTime& time = SystemSteadyTime(), Launcher launch = nullptr);
  ~RecoveringSink() override;

  bool Write(const int16_t* samples, size_t frames) override;
  void Close() override;
  std::string Describe() const override;
  std::chrono::microseconds Delay() override;

  bool DeviceOpen() const { return device_ != nullptr; }

 private:
  struct Attempt;
  void StartAttempt();
  // Takes over the device of a finished attempt, or counts its failure.
  void TakeAttempt();
  void Adopt(std::unique_ptr<AudioSink> device);
  // The device failed (to open, or to take sound): told once per episode, retried later.
  void Failed(bool after_open);

  Opener open_;
  std::string name_;
  Report report_;
  SteadyTime& time_;
  Launcher launch_;
  std::shared_ptr<Attempt> attempt_;  // the reopening under way, if any
  RealTimePacer pacer_;
  std::unique_ptr<AudioSink> device_;
  // An episode runs from the first failure until the device has played well for kSustained;
  // the user hears of its start and its end once each.
  bool in_episode_ = false;
  bool flapped_ = false;  // in this episode a reopened device failed again
  std::chrono::milliseconds pause_{0};
  SteadyTime::TimePoint retry_at_{};
  SteadyTime::TimePoint opened_at_{};
};

}  // namespace chimewell
