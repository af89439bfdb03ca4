#pragma once
// A sound device that may come and go: closed on a write error or when found gone while idle,
// reopened after a pause that grows until the device has worked well for a while. Sound that
// falls in between is dropped, not delayed, and the writer is paced on the clock meanwhile, so
// it never spins. While nothing plays the mixer tends it, so a device lost then is reopened
// before the next sound. Owned and called by the mixing thread only; a reopening runs on a
// thread of its own and hands its device over through an Attempt.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
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
  // A device that is simply not there (a sound server restarting) is looked for again this
  // often, so sound comes back within about a second of its return. Looking costs a refused
  // connection or a failed open.
  static constexpr std::chrono::milliseconds kLongestAbsentPause{1000};
  // A device that opens and then fails (a flapping USB or HDMI link, a half-dead server) is
  // left alone longer: each reopening costs a stall of the sound and a burst of messages.
  static constexpr std::chrono::milliseconds kLongestPause{30000};
  // The trouble is over, and the pause starts small again, only once the device has worked
  // this long since it was opened.
  static constexpr std::chrono::milliseconds kSustained{10000};
  // A reopened device that has worked this long is told back, whether or not sound played.
  static constexpr std::chrono::milliseconds kSettled{1000};
  // While idle, how often an open device is looked at, and a reopening under way.
  static constexpr std::chrono::milliseconds kWatchPause{1000};
  static constexpr std::chrono::milliseconds kAttemptPoll{50};

  // Tries the device at once: one that cannot be opened at start-up is reported like a lost
  // one and retried in the same way. `name` describes the sink while no device is open.
  RecoveringSink(Opener open, std::string name, Report report,
                 SteadyTime& time = SystemSteadyTime(), Launcher launch = nullptr);
  ~RecoveringSink() override;

  bool Write(const int16_t* samples, size_t frames) override;
  void Close() override;
  std::string Describe() const override;
  std::chrono::microseconds Delay() override;
  void Rest() override;
  std::optional<std::chrono::milliseconds> Tend() override;

  bool DeviceOpen() const { return device_ != nullptr; }

 private:
  struct Attempt;
  void StartAttempt();
  // Takes over the device of a finished attempt, or counts its failure.
  void TakeAttempt();
  void Adopt(std::unique_ptr<AudioSink> device);
  // Starts a reopening when its pause is over, and takes over the device once it is done.
  void Reopen();
  // The device failed (to open, or to take sound): told once, retried later.
  void Failed(bool after_open);
  // The open device works: told back once settled, the pause reset once sustained.
  void Worked();

  Opener open_;
  std::string name_;
  Report report_;
  SteadyTime& time_;
  Launcher launch_;
  std::shared_ptr<Attempt> attempt_;  // the reopening under way, if any
  RealTimePacer pacer_;
  std::unique_ptr<AudioSink> device_;
  // An episode runs from the first failure until the device has worked well for kSustained;
  // the pause grows within it. The user hears of a loss once, and of the device's return once
  // a reopened one has settled.
  bool in_episode_ = false;
  bool told_lost_ = false;
  bool resting_ = false;  // Rest was called and nothing written since
  bool flapped_ = false;  // in this episode a reopened device failed again
  std::chrono::milliseconds pause_{0};
  SteadyTime::TimePoint retry_at_{};
  SteadyTime::TimePoint opened_at_{};
};

}  // namespace chimewell
