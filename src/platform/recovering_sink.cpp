#include "platform/recovering_sink.h"

#include <algorithm>
#include <utility>

namespace chimewell {
namespace {

constexpr char kOutputLost[] = "サウンド出力が使えません";
constexpr char kOutputBack[] = "サウンド出力を再開しました";

}  // namespace

RecoveringSink::RecoveringSink(Opener open, std::string name, Report report, SteadyTime& time)
    : open_(std::move(open)),
      name_(std::move(name)),
      report_(std::move(report)),
      time_(time),
      pacer_(time) {
  TryOpen();
}

RecoveringSink::~RecoveringSink() { Close(); }

bool RecoveringSink::Write(const int16_t* samples, size_t frames) {
  if (!device_ && time_.Now() >= retry_at_) TryOpen();
  if (device_) {
    if (device_->Write(samples, frames)) {
      if (in_episode_ && time_.Now() - opened_at_ >= kSustained) {
        in_episode_ = false;
        flapped_ = false;
        pause_ = std::chrono::milliseconds(0);
        if (report_) report_(kOutputBack);
      }
      return true;
    }
    device_.reset();
    Failed(/*after_open=*/true);
    pacer_.Restart();
  }
  // Nothing takes the sound: drop it at the pace it would have played.
  pacer_.Pace(frames);
  return true;
}

void RecoveringSink::Close() {
  if (device_) device_->Close();
  device_.reset();
}

std::chrono::microseconds RecoveringSink::Delay() {
  return device_ ? device_->Delay() : pacer_.Ahead();
}

std::string RecoveringSink::Describe() const { return device_ ? device_->Describe() : name_; }

void RecoveringSink::TryOpen() {
  std::string reason;  // the panel says the same for every cause
  device_ = open_ ? open_(&reason) : nullptr;
  if (device_) {
    opened_at_ = time_.Now();
  } else {
    Failed(/*after_open=*/false);
  }
}

void RecoveringSink::Failed(bool after_open) {
  if (!in_episode_ && report_) report_(kOutputLost);
  // A device that goes once (a server that ends, a card unplugged) is looked for as one that
  // is absent; one reopened in this episode that fails again flaps.
  flapped_ = flapped_ || (after_open && in_episode_);
  in_episode_ = true;
  // 0.5 s after the first failure, then twice as long each time.
  const auto longest = flapped_ ? kLongestPause : kLongestAbsentPause;
  pause_ = pause_.count() == 0 ? kFirstPause : std::min(pause_ * 2, longest);
  retry_at_ = time_.Now() + pause_;
}

}  // namespace chimewell
