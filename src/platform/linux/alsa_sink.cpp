// Output to an ALSA playback device (PipeWire and PulseAudio serve "default"). While the clock
// is idle the device is closed, so the card (or the server behind "default") can sleep; the next
// write opens it again.
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/linux/open_audio_sink.h"

namespace chimewell {
namespace {

using Steady = std::chrono::steady_clock;

// Device buffer: enough to ride out a busy moment, short enough that sounds start promptly.
constexpr unsigned kLatencyMicroseconds = 40000;
// The device is opened non-blocking and every wait has a limit, so a wedged USB or HDMI device
// costs the clock a few seconds, never its announcements or its exit. A device that takes
// nothing for this long counts as lost and is reopened.
constexpr auto kStallLimit = std::chrono::seconds(2);
// Letting the last sound play out at the end.
constexpr auto kDrainLimit = std::chrono::seconds(2);
constexpr auto kPollStep = std::chrono::milliseconds(5);

// ALSA prints its own diagnostics to stderr; the caller reports one clear message instead.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

int MillisecondsUntil(Steady::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
  return static_cast<int>(std::max<int64_t>(left, 0));
}

// Opens `device` for our format, or returns the ALSA error (negative).
int OpenPcm(const std::string& device, snd_pcm_t** pcm) {
  snd_lib_error_set_handler(&QuietAlsaErrors);
  // Non-blocking: a busy device is refused at once, and no write waits without a limit.
  int rc = snd_pcm_open(pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (rc >= 0) {
    rc = snd_pcm_set_params(*pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                            kMixChannels, kMixRate, /*soft_resample=*/1, kLatencyMicroseconds);
    if (rc < 0) snd_pcm_close(*pcm);
  }
  if (rc < 0) *pcm = nullptr;
  return rc;
}

// Called only on the mixing thread, which alone touches the device handle: no lock.
class AlsaSink final : public AudioSink {
 public:
  AlsaSink(std::string device, snd_pcm_t* pcm) : device_(std::move(device)), pcm_(pcm) {}
  ~AlsaSink() override { Close(); }

  bool Write(const int16_t* samples, size_t frames) override {
    // Closed while resting; a device that cannot be opened again counts as lost.
    if (!pcm_ && !failed_ && OpenPcm(device_, &pcm_) < 0) failed_ = true;
    std::optional<Steady::time_point> stalled_until;  // set while the device takes nothing
    while (pcm_ && !failed_ && frames > 0) {
      const snd_pcm_sframes_t n = snd_pcm_writei(pcm_, samples, frames);
      if (n > 0) {
        stalled_until.reset();
        samples += static_cast<size_t>(n) * kMixChannels;
        frames -= static_cast<size_t>(n);
        continue;
      }
      if (!stalled_until) {
        stalled_until = Steady::now() + kStallLimit;
      } else if (Steady::now() >= *stalled_until) {
        failed_ = true;
        break;
      }
      if (n == -EAGAIN || n == 0) {
        // The buffer is full: wait for room as it plays.
        const int ready = snd_pcm_wait(pcm_, MillisecondsUntil(*stalled_until));
        if (ready == 0 || (ready < 0 && !Recover(ready, *stalled_until))) failed_ = true;
        continue;
      }
      // An underrun, a suspend or a signal: recover and go on. Anything else means the device
      // is gone (unplugged, or its server ended); the owner closes and reopens it.
      if (!Recover(static_cast<int>(n), *stalled_until)) failed_ = true;
    }
    return pcm_ && !failed_;
  }

  void Close() override {
    if (!pcm_) return;
    if (!failed_) PlayOut();
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
  }

  std::string Describe() const override { return "alsa:" + device_; }

  void Rest() override {
    // Everything written has long been played: nothing is lost by closing.
    if (!pcm_) return;
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
  }

  std::chrono::microseconds Delay() override {
    snd_pcm_sframes_t frames = 0;
    if (!pcm_ || failed_ || snd_pcm_delay(pcm_, &frames) < 0 || frames < 0) return {};
    return std::chrono::microseconds(frames * 1000000LL / kMixRate);
  }

 private:
  // Brings the device back after `error`; false when it cannot be (it is gone) or when it is
  // still suspended at `deadline`.
  bool Recover(int error, Steady::time_point deadline) {
    if (error == -ESTRPIPE) {
      // A suspended device comes back by itself after the machine wakes; ALSA's own recovery
      // would wait for it without a limit.
      int rc = 0;
      while ((rc = snd_pcm_resume(pcm_)) == -EAGAIN && Steady::now() < deadline) {
        std::this_thread::sleep_for(kPollStep);
      }
      return (rc < 0 ? snd_pcm_prepare(pcm_) : rc) >= 0;
    }
    return snd_pcm_recover(pcm_, error, 1) >= 0;
  }

  // Lets what was written play out. A device drains in the background in non-blocking mode and
  // is watched here for at most kDrainLimit; one reached through a sound server's plugin waits
  // for the server inside the drain, which the mixer's stop limit covers.
  void PlayOut() {
    if (snd_pcm_drain(pcm_) != -EAGAIN) return;
    const auto deadline = Steady::now() + kDrainLimit;
    while (snd_pcm_state(pcm_) == SND_PCM_STATE_DRAINING && Steady::now() < deadline) {
      std::this_thread::sleep_for(kPollStep);
    }
  }

  std::string device_;
  snd_pcm_t* pcm_;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<AudioSink> MakeAlsaSink(const std::string& device, std::string* error) {
  snd_pcm_t* pcm = nullptr;
  const int rc = OpenPcm(device, &pcm);
  if (rc < 0) {
    if (error) *error = snd_strerror(rc);
    return nullptr;
  }
  return std::make_unique<AlsaSink>(device, pcm);
}

}  // namespace chimewell
