#pragma once
// One clip playing on the mixer, and what its owner waits for: its start and its end.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "core/moments.h"
#include "platform/pcm_clip.h"

namespace chimewell {

// One clip playing on the mixer. Shared between the mixer and whoever waits for it: the owner
// waits, stops and sets the gain from its own thread; only the mixer's block (under the mixer's
// locks) moves through the clip and marks the voice started or dropped. Either may finish it.
class MixerVoice {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  // When a voice placed on a moment starts: the moment; the latest moment it may still start,
  // else it is dropped unheard; and how long it may wait at most, in elapsed time, whatever
  // the wall clock does meanwhile.
  struct Placement {
    WallMoment start_at;
    std::optional<WallMoment> latest_start;
    std::chrono::steady_clock::time_point wait_until;
  };

  // `clip` is at kMixRate (Mixer::Play converts one that is not). With `placement` its first
  // sample is heard at that moment.
  MixerVoice(std::shared_ptr<const PcmClip> clip, float gain_left, float gain_right,
             std::optional<Placement> placement = std::nullopt);

  // Ends the voice at once; waiters return.
  void Stop();
  // Blocks until the last sample has been mixed or the voice was stopped.
  void Wait();
  // Like Wait, for at most `timeout`; true when finished.
  bool WaitFor(std::chrono::milliseconds timeout);
  bool Finished() const;
  // Blocks until the first sample has gone to the sink or the voice finished. True if started.
  bool WaitStarted();
  bool Started() const { return started_.load(); }
  // Ended unheard because it could no longer start by its latest start.
  bool Dropped() const { return dropped_.load(); }
  // When the block with its first sample was handed to the sink.
  TimePoint StartTime() const;
  // Loudness of each output channel, 1 = as recorded. Takes effect with the next block.
  void SetGain(float left, float right);

 private:
  friend class Mixer;
  // Adds up to `frames` frames into left/right; returns false once the clip has run out.
  bool MixInto(float* left, float* right, size_t frames);
  // Frames of a block heard from `heard_at` on that pass before this voice is to begin: 0
  // when it has no moment, or its moment has come or passed (a late start is just later).
  size_t FramesBeforeStart(WallMoment heard_at) const;
  // A block heard from `heard_at` on would start it later than it may start.
  bool TooLateAt(WallMoment heard_at) const;
  void MarkStarted(TimePoint when);
  void MarkFinished();

  const std::shared_ptr<const PcmClip> clip_;
  const std::optional<Placement> placement_;
  size_t position_ = 0;  // the next frame to mix; the mixer's block alone touches it
  std::atomic<float> gain_left_, gain_right_;
  std::atomic<bool> started_{false};  // set under mutex_, so a waiter cannot miss it
  std::atomic<bool> dropped_{false};
  mutable std::mutex mutex_;  // taken last: no other lock is taken while it is held
  std::condition_variable cv_;
  bool finished_ = false;   // guarded by mutex_
  TimePoint start_time_{};  // guarded by mutex_
};

}  // namespace chimewell
