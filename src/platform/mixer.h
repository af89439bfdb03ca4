#pragma once
// The mixer: one thread that mixes the sound player, speech and music into one audio sink.
//
// Threads: the mixing thread owns the block (its buffers, the renderers' calls) and alone calls
// the sink; without that thread, whoever calls MixBlock stands in for it. Any thread may play,
// stop a channel, set a gain or a renderer. Start and Stop belong to the thread that made the
// mixer (the composition root's), which also owns the thread handle.
//
// Lock order: Mixer before FluidSynth. render_mutex_ is held while a block is mixed; inside it
// the block takes mutex_ (voices, gains, flags) for the voices, and a voice's own lock under
// that, and then, without mutex_, runs the renderers, which take their source's own lock
// (FluidSynthMidi's). No one who holds mutex_, a voice's or a source's lock takes
// render_mutex_. Play, StopChannel and SetChannelGain take only mutex_, so music that is slow
// for a moment never holds up a caller; nothing waits on the sink under either lock. The
// thread's hand-over state (ThreadState) has a lock of its own, taken with no other held.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/fault.h"
#include "platform/audio_sink.h"
#include "platform/mixer_voice.h"
#include "platform/pcm_clip.h"

namespace chimewell {

enum class MixChannel { kSound = 0, kSpeech = 1, kMusic = 2 };
inline constexpr size_t kMixChannelCount = 3;

class Mixer {
 public:
  // 10 ms blocks: the delay from a play call to its first sample is at most about one block.
  static constexpr size_t kBlockFrames = kMixRate / 100;
  // Adds `frames` frames of sound into the two float buffers (full scale = 1.0). Returns false
  // once it has nothing more to play: the mixer then drops it, so it costs nothing while idle.
  using Renderer = std::function<bool(float* left, float* right, size_t frames)>;

  // The wall clock, read as each block is mixed.
  using WallClock = std::function<WallMoment()>;

  explicit Mixer(std::unique_ptr<AudioSink> sink, WallClock wall = SystemWallNow);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Longest that Stop waits for the mixing thread.
  static constexpr std::chrono::seconds kStopLimit{2};
  // With nothing to play for this long the sink is let rest (AudioSink::Rest): long enough that
  // the sounds of one announcement, and a count every few seconds, keep the device awake.
  static constexpr std::chrono::seconds kRestAfter{10};

  // Starts the mixing thread. Without it, blocks are mixed only by MixBlock calls. A fault on
  // that thread ends what plays, is told to `report`, and the mixing goes on.
  void Start(FaultReport report = nullptr);
  // Stops the thread, ends every voice and closes the sink (letting its last sound play out).
  // Idempotent. Returns within about kStopLimit even when the sink's write or close never
  // returns: the thread is then left inside the sink, and closes it and ends by itself if the
  // call ever comes back.
  void Stop();

  // Plays `clip` on `channel`. A clip at another rate is converted first, on the calling
  // thread; callers that play a clip often convert it once beforehand (ConvertToMixRate).
  std::shared_ptr<MixerVoice> Play(MixChannel channel, std::shared_ptr<const PcmClip> clip,
                                   float gain_left = 1.0f, float gain_right = 1.0f);
  // As Play, with the first sample heard at the wall-clock moment `start_at`: the sink's delay
  // is taken into account. Until then the voice is queued and silent; a moment already past
  // starts it at once.
  // When the wall clock is set back meanwhile, it waits no longer than it was ahead plus
  // kLongestPlacedWait, then starts. With `latest_start` a voice that would start after
  // that moment (the machine slept meanwhile) is dropped unheard: it ends without starting.
  std::shared_ptr<MixerVoice> PlayAt(MixChannel channel, std::shared_ptr<const PcmClip> clip,
                                     WallMoment start_at, float gain_left = 1.0f,
                                     float gain_right = 1.0f,
                                     std::optional<WallMoment> latest_start = std::nullopt);
  static constexpr std::chrono::milliseconds kLongestPlacedWait{1000};
  // Ends every voice of one channel.
  void StopChannel(MixChannel channel);
  // Loudness of a whole channel (1 = unchanged).
  void SetChannelGain(MixChannel channel, float gain);
  // Sets the channel's continuous source (music); an empty function removes it. Returns only
  // when no call of the old renderer is running. Renderers run on the mixing thread under
  // render_mutex_ only, so one must not call back into the mixer.
  void SetRenderer(MixChannel channel, Renderer renderer);
  bool HasRenderer(MixChannel channel);

  // Mixes the next `frames` frames into `out` (interleaved stereo), to be heard from the
  // wall-clock moment `heard_at` on (by default: now).
  void MixBlock(int16_t* out, size_t frames);
  void MixBlock(int16_t* out, size_t frames, WallMoment heard_at);

  static WallMoment SystemWallNow();

  const AudioSink& sink() const { return *sink_; }

 private:
  struct Channel {
    std::vector<std::shared_ptr<MixerVoice>> voices;
    bool has_renderer = false;  // mirrors renderers_, for HasWorkLocked
    float gain = 1.0f;
  };
  // What the mixing thread shares with Stop, outliving the mixer when the thread is left
  // behind in the sink.
  struct ThreadState;
  // The mixing thread's body; touches the mixer only while Stop has not left it behind.
  static void Run(Mixer* self, std::shared_ptr<ThreadState> state,
                  std::shared_ptr<AudioSink> sink, const FaultReport& report);
  // One block from the thread: waits for work, mixes, writes. False once left behind.
  bool RunBlock(ThreadState& state, AudioSink& sink, std::vector<int16_t>& block);
  // Sleeps until something is to be played or Stop is called, tending the sink meanwhile and
  // letting it rest after kRestAfter. False once left behind.
  bool WaitForWork(ThreadState& state, AudioSink& sink);
  bool HasWorkLocked() const;
  void StopAllVoices();
  // Waits for the thread to end, or leaves it in the sink after kStopLimit.
  void EndThread();

  std::shared_ptr<MixerVoice> Queue(MixChannel channel, std::shared_ptr<const PcmClip> clip,
                                    float gain_left, float gain_right,
                                    std::optional<MixerVoice::Placement> placement);

  // Called only on the mixing thread; Stop closes it itself when no thread ever ran.
  const std::shared_ptr<AudioSink> sink_;
  const WallClock wall_;

  std::mutex render_mutex_;
  std::array<Renderer, kMixChannelCount> renderers_;  // guarded by render_mutex_

  std::mutex mutex_;
  std::array<Channel, kMixChannelCount> channels_;  // guarded by mutex_
  std::condition_variable work_;  // something to play was added, or Stop was called
  std::atomic<bool> stop_{false};
  bool closed_ = false;  // guarded by mutex_

  // Only whoever mixes a block touches these: the mixing thread, or a test's MixBlock calls
  // when no thread runs. Guarded by render_mutex_, held for the whole block.
  std::array<std::vector<float>, kMixChannelCount> channel_left_, channel_right_;
  std::vector<std::shared_ptr<MixerVoice>> started_, finished_;

  // Owned by the thread that calls Start and Stop (the composition root's).
  std::shared_ptr<ThreadState> thread_state_;
  std::thread thread_;
};

}  // namespace chimewell
