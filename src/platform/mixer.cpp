#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/failure_reporter.h"
#include "platform/resample.h"

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

size_t MixerVoice::FramesBeforeStart(int64_t heard_at_us) const {
  if (!placement_ || placement_->start_at_us <= heard_at_us) return 0;
  // The wall clock went back after the voice was placed. Waiting for it to come round again
  // could take hours, and the announcement was on time when handed over: it starts now.
  if (std::chrono::steady_clock::now() >= placement_->wait_until) return 0;
  // Rounded to the nearest frame: the first sample lands within half a frame of the moment.
  const int64_t frames = ((placement_->start_at_us - heard_at_us) * kMixRate + 500000) / 1000000;
  return static_cast<size_t>(frames);
}

bool MixerVoice::TooLateAt(int64_t heard_at_us) const {
  return placement_ && placement_->latest_start_us && heard_at_us > *placement_->latest_start_us;
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

Mixer::Mixer(std::unique_ptr<AudioSink> sink, WallClock wall)
    : sink_(std::move(sink)), wall_(std::move(wall)) {}

int64_t Mixer::SystemWallMicros() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

Mixer::~Mixer() { Stop(); }

void Mixer::Start(FaultReport report) {
  if (thread_.joinable() || closed_) return;
  thread_ = std::thread([this, report = std::move(report)] { Run(report); });
}

void Mixer::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  work_.notify_all();
  if (thread_.joinable()) thread_.join();
  StopAllVoices();
  {
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
  }
  sink_->Close();
}

void Mixer::StopAllVoices() {
  std::vector<std::shared_ptr<MixerVoice>> left_over;
  {
    const std::lock_guard lock(mutex_);
    for (auto& channel : channels_) {
      left_over.insert(left_over.end(), channel.voices.begin(), channel.voices.end());
      channel.voices.clear();
    }
  }
  for (auto& voice : left_over) voice->MarkFinished();
}

std::shared_ptr<MixerVoice> Mixer::Play(MixChannel channel, std::shared_ptr<const PcmClip> clip,
                                        float gain_left, float gain_right) {
  return Queue(channel, std::move(clip), gain_left, gain_right, std::nullopt);
}

std::shared_ptr<MixerVoice> Mixer::PlayAt(MixChannel channel, std::shared_ptr<const PcmClip> clip,
                                          int64_t start_at_ms, float gain_left, float gain_right,
                                          std::optional<int64_t> latest_start_ms) {
  MixerVoice::Placement placement;
  placement.start_at_us = start_at_ms * 1000;
  if (latest_start_ms) placement.latest_start_us = *latest_start_ms * 1000;
  const auto ahead = std::chrono::microseconds(std::max<int64_t>(0, placement.start_at_us - wall_()));
  placement.wait_until = std::chrono::steady_clock::now() + ahead + kLongestPlacedWait;
  return Queue(channel, std::move(clip), gain_left, gain_right, placement);
}

std::shared_ptr<MixerVoice> Mixer::Queue(MixChannel channel, std::shared_ptr<const PcmClip> clip,
                                         float gain_left, float gain_right,
                                         std::optional<MixerVoice::Placement> placement) {
  if (clip && clip->sample_rate != kMixRate) {
    clip = std::make_shared<const PcmClip>(ConvertToMixRate(*clip));
  }
  auto voice = std::make_shared<MixerVoice>(std::move(clip), gain_left, gain_right, placement);
  const std::lock_guard lock(mutex_);
  if (closed_) {
    voice->MarkFinished();
  } else {
    channels_[static_cast<size_t>(channel)].voices.push_back(voice);
    work_.notify_one();
  }
  return voice;
}

void Mixer::StopChannel(MixChannel channel) {
  std::vector<std::shared_ptr<MixerVoice>> stopped;
  {
    const std::lock_guard lock(mutex_);
    stopped.swap(channels_[static_cast<size_t>(channel)].voices);
  }
  for (auto& voice : stopped) voice->MarkFinished();
}

void Mixer::SetChannelGain(MixChannel channel, float gain) {
  const std::lock_guard lock(mutex_);
  channels_[static_cast<size_t>(channel)].gain = gain;
}

void Mixer::SetRenderer(MixChannel channel, Renderer renderer) {
  // Renderers run under the mixer's lock, so once we hold it none is running.
  Renderer old;
  {
    const std::lock_guard lock(mutex_);
    old.swap(channels_[static_cast<size_t>(channel)].renderer);
    channels_[static_cast<size_t>(channel)].renderer = std::move(renderer);
    work_.notify_one();
  }
}

bool Mixer::HasRenderer(MixChannel channel) {
  const std::lock_guard lock(mutex_);
  return static_cast<bool>(channels_[static_cast<size_t>(channel)].renderer);
}

void Mixer::MixBlock(int16_t* out, size_t frames) { MixBlock(out, frames, wall_()); }

void Mixer::MixBlock(int16_t* out, size_t frames, int64_t heard_at_us) {
  {
    const std::lock_guard lock(mutex_);
    left_.assign(frames, 0.0f);
    right_.assign(frames, 0.0f);
    for (auto& channel : channels_) {
      if (channel.voices.empty() && !channel.renderer) continue;
      channel_left_.assign(frames, 0.0f);
      channel_right_.assign(frames, 0.0f);
      auto& voices = channel.voices;
      for (size_t i = 0; i < voices.size();) {
        auto& voice = voices[i];
        if (voice->Finished()) {  // stopped from outside
          voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
        size_t skip = 0;  // frames of this block before the voice's moment
        if (!voice->Started() && voice->TooLateAt(heard_at_us)) {
          voice->dropped_ = true;
          finished_.push_back(voice);  // ends unheard
          voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
        if (!voice->Started()) {
          skip = voice->FramesBeforeStart(heard_at_us);
          if (skip >= frames) {  // its moment lies beyond this block: it waits, silent
            ++i;
            continue;
          }
          started_.push_back(voice);
        }
        if (!voice->MixInto(channel_left_.data() + skip, channel_right_.data() + skip,
                            frames - skip)) {
          finished_.push_back(voice);
          voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
        ++i;
      }
      if (channel.renderer &&
          !channel.renderer(channel_left_.data(), channel_right_.data(), frames)) {
        channel.renderer = nullptr;  // its source ended; the mixer may sleep again
      }
      for (size_t i = 0; i < frames; ++i) {
        left_[i] += channel_left_[i] * channel.gain;
        right_[i] += channel_right_[i] * channel.gain;
      }
    }
  }
  for (size_t i = 0; i < frames; ++i) {
    const float l = std::clamp(left_[i], -1.0f, 1.0f);
    const float r = std::clamp(right_[i], -1.0f, 1.0f);
    out[i * 2] = static_cast<int16_t>(std::lrint(l * 32767.0f));
    out[i * 2 + 1] = static_cast<int16_t>(std::lrint(r * 32767.0f));
  }
  // Marked as the block goes to the sink: a voice that ends here lets its waiter queue the
  // next sound in time for the very next block, so fragments follow without a gap.
  const auto now = std::chrono::steady_clock::now();
  for (auto& voice : started_) voice->MarkStarted(now);
  for (auto& voice : finished_) voice->MarkFinished();
  started_.clear();
  finished_.clear();
}

void Mixer::Run(const FaultReport& report) {
  std::vector<int16_t> block(kBlockFrames * kMixChannels);
  const bool may_pause = !sink_->KeepsTimeline();
  FailureReporter failures(report);
  const auto one_block = [&] {
    if (may_pause) {
      // With nothing to play, sleep until something is queued rather than mixing silence a
      // hundred times a second. A device that runs dry meanwhile recovers on the next write.
      std::unique_lock lock(mutex_);
      work_.wait(lock, [this] { return stop_.load() || HasWorkLocked(); });
      if (stop_.load()) return;
    }
    // The block goes out now and is heard once what the sink holds has played.
    MixBlock(block.data(), kBlockFrames, wall_() + sink_->Delay().count());
    sink_->Write(block.data(), kBlockFrames);
  };
  while (!stop_.load()) {
    if (!RunCatchingFaults("mixer", one_block,
                           [&](const std::string& text) { failures.Failed(text); })) {
      // Whatever failed goes; its waiters return. The pause keeps a lasting fault from
      // spinning.
      StopAllVoices();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
}

bool Mixer::HasWorkLocked() const {
  for (const auto& channel : channels_) {
    if (!channel.voices.empty() || channel.renderer) return true;
  }
  return false;
}

}  // namespace chimewell
