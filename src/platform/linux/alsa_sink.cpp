// Output to an ALSA playback device (PipeWire and PulseAudio serve "default").
#include <alsa/asoundlib.h>

#include "platform/linux/open_audio_sink.h"

namespace chimewell {
namespace {

// Device buffer: enough to ride out a busy moment, short enough that sounds start promptly.
constexpr unsigned kLatencyMicroseconds = 40000;

// ALSA prints its own diagnostics to stderr; the caller reports one clear message instead.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

class AlsaSink final : public AudioSink {
 public:
  AlsaSink(std::string device, snd_pcm_t* pcm) : device_(std::move(device)), pcm_(pcm) {}
  ~AlsaSink() override { Close(); }

  bool Write(const int16_t* samples, size_t frames) override {
    while (pcm_ && !failed_ && frames > 0) {
      const snd_pcm_sframes_t n = snd_pcm_writei(pcm_, samples, frames);
      if (n < 0) {
        // An underrun, a suspend or a signal: recover and go on. Anything else means the
        // device is gone (unplugged, or its server ended); the owner closes and reopens it.
        if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0) failed_ = true;
        continue;
      }
      samples += static_cast<size_t>(n) * kMixChannels;
      frames -= static_cast<size_t>(n);
    }
    return pcm_ && !failed_;
  }

  void Close() override {
    if (!pcm_) return;
    if (!failed_) snd_pcm_drain(pcm_);
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
  }

  std::string Describe() const override { return "alsa:" + device_; }

  std::chrono::microseconds Delay() override {
    snd_pcm_sframes_t frames = 0;
    if (!pcm_ || failed_ || snd_pcm_delay(pcm_, &frames) < 0 || frames < 0) return {};
    return std::chrono::microseconds(frames * 1000000LL / kMixRate);
  }

 private:
  std::string device_;
  snd_pcm_t* pcm_;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<AudioSink> MakeAlsaSink(const std::string& device, std::string* error) {
  snd_lib_error_set_handler(&QuietAlsaErrors);
  snd_pcm_t* pcm = nullptr;
  int rc = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0);
  if (rc >= 0) {
    rc = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, kMixChannels,
                            kMixRate, /*soft_resample=*/1, kLatencyMicroseconds);
    if (rc < 0) snd_pcm_close(pcm);
  }
  if (rc < 0) {
    if (error) *error = snd_strerror(rc);
    return nullptr;
  }
  return std::make_unique<AlsaSink>(device, pcm);
}

}  // namespace chimewell
