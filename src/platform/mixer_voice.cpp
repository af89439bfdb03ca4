#include "platform/mixer_voice.h"

#include <algorithm>

#include "platform/audio_sink.h"

namespace chimewell {

MixerVoice::MixerVoice(std::shared_ptr<const PcmClip> clip, float gain_left, float gain_right,
                       std::optional<Placement> placement)
    : clip_(std::move(clip)),
      placement_(placement),
      gain_left_(gain_left),
      gain_right_(gain_right) {}

void MixerVoice::Stop() { MarkFinished(); }

void MixerVoice::Wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return finished_; });
}

bool MixerVoice::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, timeout, [this] { return finished_; });
}

bool MixerVoice::Finished() const {
  const std::lock_guard lock(mutex_);
  return finished_;
}

bool MixerVoice::WaitStarted() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return started_.load() || finished_; });
  return started_.load();
}

MixerVoice::TimePoint MixerVoice::StartTime() const {
  const std::lock_guard lock(mutex_);
  return start_time_;
}

void MixerVoice::SetGain(float left, float right) {
  gain_left_ = left;
  gain_right_ = right;
}

void MixerVoice::MarkStarted(TimePoint when) {
  {
    const std::lock_guard lock(mutex_);
    if (started_.load() || finished_) return;
    start_time_ = when;
    started_ = true;
  }
  cv_.notify_all();
}

void MixerVoice::MarkFinished() {
  {
    const std::lock_guard lock(mutex_);
    finished_ = true;
  }
  cv_.notify_all();
}

size_t MixerVoice::FramesBeforeStart(WallMoment heard_at) const {
  if (!placement_ || placement_->start_at <= heard_at) return 0;
  // The wall clock went back after the voice was placed. Waiting for it to come round again
  // could take hours, and the announcement was on time when handed over: it starts now.
  if (std::chrono::steady_clock::now() >= placement_->wait_until) return 0;
  // Rounded to the nearest frame: the first sample lands within half a frame of the moment.
  const int64_t frames = ((placement_->start_at - heard_at).count() * kMixRate + 500000) / 1000000;
  return static_cast<size_t>(frames);
}

bool MixerVoice::TooLateAt(WallMoment heard_at) const {
  return placement_ && placement_->latest_start && heard_at > *placement_->latest_start;
}

bool MixerVoice::MixInto(float* left, float* right, size_t frames) {
  if (!clip_ || clip_->channels < 1) return false;
  const size_t count = clip_->Frames();
  const size_t n = std::min(frames, count - std::min(position_, count));
  const float gl = gain_left_.load() / 32768.0f;
  const float gr = gain_right_.load() / 32768.0f;
  const int16_t* s = clip_->samples.data() + position_ * static_cast<size_t>(clip_->channels);
  if (clip_->channels == 1) {
    for (size_t i = 0; i < n; ++i) {
      left[i] += s[i] * gl;
      right[i] += s[i] * gr;
    }
  } else {
    const auto stride = static_cast<size_t>(clip_->channels);
    for (size_t i = 0; i < n; ++i) {
      left[i] += s[i * stride] * gl;
      right[i] += s[i * stride + 1] * gr;
    }
  }
  position_ += n;
  return position_ < count;
}

}  // namespace chimewell
