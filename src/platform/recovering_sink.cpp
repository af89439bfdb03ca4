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
    if (device_->Write(samples, frames)) return true;
    device_.reset();
    Lost();
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
  if (!device_) {
    Lost();
    return;
  }
  pause_ = std::chrono::milliseconds(0);
  if (lost_ && report_) report_(kOutputBack);
  lost_ = false;
}

void RecoveringSink::Lost() {
  if (!lost_ && report_) report_(kOutputLost);
  lost_ = true;
  // 0.5 s after the loss, then twice as long each time up to 5 s.
  pause_ = pause_.count() == 0 ? kFirstPause : std::min(pause_ * 2, kLongestPause);
  retry_at_ = time_.Now() + pause_;
}

}  // namespace chimewell
