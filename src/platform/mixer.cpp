#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/failure_reporter.h"
#include "platform/resample.h"

namespace chimewell {

namespace {

// Runs one call of the sink, marked so that Stop can leave the mixing thread there; false when
// it did, and the mixer must not be touched again. The mark goes even when the call throws.
template <class State, class Call>
bool CallSink(State& state, const Call& call) {
  const auto mark = [&state](bool inside) {
    const std::lock_guard lock(state.mutex);
    state.in_sink = inside;
    state.changed.notify_all();
    return !state.left_behind;
  };
  mark(true);
  try {
    call();
  } catch (...) {
    if (!mark(false)) return false;  // nobody is left to hear of it
    throw;
  }
  return mark(false);
}

}  // namespace

struct Mixer::ThreadState {
  std::mutex mutex;
  std::condition_variable changed;
  bool in_sink = false;      // inside a call of the sink, the one place it may hang
  bool left_behind = false;  // Stop gave up waiting: the mixer may be gone
  bool done = false;         // the thread touches the mixer no more
};

Mixer::Mixer(std::unique_ptr<AudioSink> sink, WallClock wall)
    : sink_(std::move(sink)), wall_(std::move(wall)) {}

WallMoment Mixer::SystemWallNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return WallMoment::FromUnixUs(static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000);
}

Mixer::~Mixer() { Stop(); }

void Mixer::Start(FaultReport report) {
  if (thread_.joinable() || closed_) return;
  thread_state_ = std::make_shared<ThreadState>();
  thread_ = std::thread(&Mixer::Run, this, thread_state_, sink_, std::move(report));
}

void Mixer::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  work_.notify_all();
  // A mixing thread closes the sink as it ends, or once its call returns when left behind.
  const bool thread_closes = thread_.joinable();
  EndThread();
  StopAllVoices();
  {
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
  }
  if (!thread_closes) sink_->Close();
}

void Mixer::EndThread() {
  if (!thread_.joinable()) return;
  ThreadState& state = *thread_state_;
  std::unique_lock lock(state.mutex);
  if (!state.changed.wait_for(lock, kStopLimit, [&] { return state.done; })) {
    // Outside the sink the thread only mixes, which takes moments: it is either about to end
    // or stuck in the device.
    state.changed.wait(lock, [&] { return state.done || state.in_sink; });
    state.left_behind = !state.done;
  }
  const bool ended = !state.left_behind;
  lock.unlock();
  if (ended) {
    thread_.join();
  } else {
    thread_.detach();
  }
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
                                          WallMoment start_at, float gain_left, float gain_right,
                                          std::optional<WallMoment> latest_start) {
  MixerVoice::Placement placement{start_at, latest_start, {}};
  const auto ahead = std::max(std::chrono::microseconds(0), start_at - wall_());
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
  // Renderers run under render_mutex_, so once we hold it none is running. The old one is
  // let go after the locks: its captures may take locks of their own as they go.
  Renderer old;
  {
    const std::lock_guard render_lock(render_mutex_);
    const auto index = static_cast<size_t>(channel);
    old.swap(renderers_[index]);
    renderers_[index] = std::move(renderer);
    const std::lock_guard lock(mutex_);
    channels_[index].has_renderer = static_cast<bool>(renderers_[index]);
    work_.notify_one();
  }
}

bool Mixer::HasRenderer(MixChannel channel) {
  const std::lock_guard lock(mutex_);
  return channels_[static_cast<size_t>(channel)].has_renderer;
}

void Mixer::MixBlock(int16_t* out, size_t frames) { MixBlock(out, frames, wall_()); }

void Mixer::MixBlock(int16_t* out, size_t frames, WallMoment heard_at) {
  const std::lock_guard render_lock(render_mutex_);
  std::array<float, kMixChannelCount> gains{};
  std::array<bool, kMixChannelCount> sounding{};
  {
    const std::lock_guard lock(mutex_);
    for (size_t c = 0; c < kMixChannelCount; ++c) {
      Channel& channel = channels_[c];
      gains[c] = channel.gain;
      sounding[c] = !channel.voices.empty() || channel.has_renderer;
      if (!sounding[c]) continue;
      channel_left_[c].assign(frames, 0.0f);
      channel_right_[c].assign(frames, 0.0f);
      auto& voices = channel.voices;
      for (size_t i = 0; i < voices.size();) {
        auto& voice = voices[i];
        if (voice->Finished()) {  // stopped from outside
          voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
        size_t skip = 0;  // frames of this block before the voice's moment
        if (!voice->Started() && voice->TooLateAt(heard_at)) {
          voice->dropped_ = true;
          finished_.push_back(voice);  // ends unheard
          voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
        if (!voice->Started()) {
          skip = voice->FramesBeforeStart(heard_at);
          if (skip >= frames) {  // its moment lies beyond this block: it waits, silent
            ++i;
            continue;
          }
          started_.push_back(voice);
        }
        if (!voice->MixInto(channel_left_[c].data() + skip, channel_right_[c].data() + skip,
                            frames - skip)) {
          finished_.push_back(voice);
          voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
        ++i;
      }
    }
  }
  // The continuous sources render without mutex_: the voices' owners never wait for them.
  for (size_t c = 0; c < kMixChannelCount; ++c) {
    Renderer& renderer = renderers_[c];
    if (!sounding[c] || !renderer) continue;
    if (!renderer(channel_left_[c].data(), channel_right_[c].data(), frames)) {
      renderer = nullptr;  // its source ended; the mixer may sleep again
      const std::lock_guard lock(mutex_);
      channels_[c].has_renderer = false;
    }
  }
  for (size_t i = 0; i < frames; ++i) {
    float l = 0.0f;
    float r = 0.0f;
    for (size_t c = 0; c < kMixChannelCount; ++c) {
      if (!sounding[c]) continue;
      l += channel_left_[c][i] * gains[c];
      r += channel_right_[c][i] * gains[c];
    }
    out[i * 2] = static_cast<int16_t>(std::lrint(std::clamp(l, -1.0f, 1.0f) * 32767.0f));
    out[i * 2 + 1] = static_cast<int16_t>(std::lrint(std::clamp(r, -1.0f, 1.0f) * 32767.0f));
  }
  // Marked as the block goes to the sink: a voice that ends here lets its waiter queue the
  // next sound in time for the very next block, so fragments follow without a gap.
  const auto now = std::chrono::steady_clock::now();
  for (auto& voice : started_) voice->MarkStarted(now);
  for (auto& voice : finished_) voice->MarkFinished();
  started_.clear();
  finished_.clear();
}

void Mixer::Run(Mixer* self, std::shared_ptr<ThreadState> state, std::shared_ptr<AudioSink> sink,
                const FaultReport& report) {
  std::vector<int16_t> block(kBlockFrames * kMixChannels);
  FailureReporter failures(report);
  bool left_behind = false;
  while (!left_behind && !self->stop_.load()) {
    const bool ok = RunCatchingFaults(
        "mixer", [&] { left_behind = !self->RunBlock(*state, *sink, block); },
        [&](const std::string& text) { failures.Failed(text); });
    if (!ok && !left_behind) {
      // Whatever failed goes; its waiters return. The pause keeps a lasting fault from
      // spinning.
      self->StopAllVoices();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  // The sink is closed here too, so that Stop's limit also covers a device that hangs while
  // its last sound plays out. Once left behind, `self` may be gone.
  if (left_behind) {
    sink->Close();
  } else {
    CallSink(*state, [&] { sink->Close(); });
  }
  {
    const std::lock_guard lock(state->mutex);
    state->done = true;
  }
  state->changed.notify_all();
}

bool Mixer::RunBlock(ThreadState& state, AudioSink& sink, std::vector<int16_t>& block) {
  if (!sink.KeepsTimeline()) {
    // With nothing to play, sleep until something is queued rather than mixing silence a
    // hundred times a second. A device that runs dry meanwhile recovers on the next write.
    if (!WaitForWork(state, sink)) return false;
    if (stop_.load()) return true;
  }
  std::chrono::microseconds delay{};
  if (!CallSink(state, [&] { delay = sink.Delay(); })) return false;
  // The block goes out now and is heard once what the sink holds has played.
  MixBlock(block.data(), kBlockFrames, wall_() + delay);
  return CallSink(state, [&] { sink.Write(block.data(), kBlockFrames); });
}

bool Mixer::WaitForWork(ThreadState& state, AudioSink& sink) {
  using Steady = std::chrono::steady_clock;
  const auto ready = [this] { return stop_.load() || HasWorkLocked(); };
  {
    const std::lock_guard lock(mutex_);
    if (ready()) return true;
  }
  const auto rest_at = Steady::now() + kRestAfter;
  bool rested = false;
  std::optional<Steady::time_point> tend_at = Steady::now();  // as it falls idle
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      std::optional<Steady::time_point> wake = tend_at;
      if (!rested) wake = wake ? std::min(*wake, rest_at) : rest_at;
      if (wake) {
        work_.wait_until(lock, *wake, ready);
      } else {
        work_.wait(lock, ready);
      }
      if (ready()) return true;
    }
    const auto now = Steady::now();
    if (tend_at && now >= *tend_at) {
      std::optional<std::chrono::milliseconds> pause;
      if (!CallSink(state, [&] { pause = sink.Tend(); })) return false;
      tend_at = pause ? std::optional(Steady::now() + *pause) : std::nullopt;
    }
    if (!rested && now >= rest_at) {
      rested = true;
      if (!CallSink(state, [&] { sink.Rest(); })) return false;
    }
  }
}

bool Mixer::HasWorkLocked() const {
  for (const auto& channel : channels_) {
    if (!channel.voices.empty() || channel.has_renderer) return true;
  }
  return false;
}

}  // namespace chimewell
