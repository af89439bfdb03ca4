// Output to the desktop's sound server through the PulseAudio client library (PipeWire serves
// it too). The stream carries the program's name and the "event" role, so the desktop's volume
// mixer shows the clock with a slider of its own. The stream is corked while the clock is idle,
// so the server can suspend its sink; it starts corked and is uncorked by the first write.
#include <pulse/pulseaudio.h>

#include <algorithm>

#include "platform/linux/open_audio_sink.h"

namespace chimewell {
namespace {

// The server's buffer for us: enough to ride out a busy moment, short enough that sounds
// start promptly (as with the ALSA device).
constexpr unsigned kLatencyMicroseconds = 40000;
constexpr char kName[] = "Chimewell";
// Every wait on the server has a limit, so a wedged server costs the clock a few seconds, never
// its announcements or its exit. A server that takes nothing for this long (a stream stuck in
// a suspended or vanished sink) counts as lost, and the device is reopened.
constexpr pa_usec_t kStallLimitUsec = 2 * PA_USEC_PER_SEC;
// Connecting and setting up the stream take a few milliseconds on a healthy server.
constexpr pa_usec_t kConnectLimitUsec = 5 * PA_USEC_PER_SEC;
// Letting the last sound play out at the end.
constexpr pa_usec_t kDrainLimitUsec = 2 * PA_USEC_PER_SEC;

// Called only on the mixing thread, which alone touches the fields. The client library's loop
// thread runs the callbacks, which only wake the writer; the library's objects are used with
// the loop's lock held once the loop runs.
class PulseSink final : public AudioSink {
 public:
  ~PulseSink() override { Close(); }

  // False with `error` set when no server answers or it refuses the stream.
  bool Open(std::string* error);
  bool Write(const int16_t* samples, size_t frames) override;
  void Close() override;
  std::string Describe() const override { return "pulse"; }
  std::chrono::microseconds Delay() override;
  void Rest() override;
  bool Working() override;

 private:
  static void OnContextState(pa_context*, void* self) { static_cast<PulseSink*>(self)->Signal(); }
  static void OnStreamState(pa_stream*, void* self) { static_cast<PulseSink*>(self)->Signal(); }
  static void OnWritable(pa_stream*, size_t, void* self) {
    static_cast<PulseSink*>(self)->Signal();
  }
  static void OnDrained(pa_stream*, int, void* self) { static_cast<PulseSink*>(self)->Signal(); }
  static void OnDeadline(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
    static_cast<PulseSink*>(self)->Signal();
  }
  void Signal() { pa_threaded_mainloop_signal(loop_, 0); }
  // Mainloop lock held. Waits for the next event from the server, or until `deadline`
  // (pa_rtclock time); false, without waiting, once the deadline has passed.
  bool WaitLocked(pa_usec_t deadline);
  // Mainloop lock held. True while the server and our stream are in working order.
  bool HealthyLocked() const {
    return PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) &&
           PA_STREAM_IS_GOOD(pa_stream_get_state(stream_));
  }
  bool ConnectLocked(std::string* error);
  // Mainloop lock held. Corks or uncorks the stream; the server takes it in order with the
  // writes, so nothing waits for the answer.
  void CorkLocked(bool cork);
  std::string ErrorText() const { return pa_strerror(pa_context_errno(context_)); }

  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  bool failed_ = false;
  bool corked_ = true;
};

bool PulseSink::Open(std::string* error) {
  loop_ = pa_threaded_mainloop_new();
  if (!loop_) {
    *error = "pulse: no main loop";
    return false;
  }
  pa_proplist* props = pa_proplist_new();
  pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, kName);
  pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "chimewell");
  pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "chimewell");
  context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), kName, props);
  pa_proplist_free(props);
  if (!context_) {
    *error = "pulse: no context";
    return false;
  }
  pa_context_set_state_callback(context_, &OnContextState, this);
  if (pa_threaded_mainloop_start(loop_) < 0) {
    *error = "pulse: main loop does not start";
    return false;
  }
  pa_threaded_mainloop_lock(loop_);
  const bool ok = ConnectLocked(error);
  pa_threaded_mainloop_unlock(loop_);
  return ok;
}

bool PulseSink::WaitLocked(pa_usec_t deadline) {
  if (pa_rtclock_now() >= deadline) return false;
  pa_time_event* timer = pa_context_rttime_new(context_, deadline, &OnDeadline, this);
  pa_threaded_mainloop_wait(loop_);
  if (timer) pa_threaded_mainloop_get_api(loop_)->time_free(timer);
  return true;
}

bool PulseSink::ConnectLocked(std::string* error) {
  const pa_usec_t deadline = pa_rtclock_now() + kConnectLimitUsec;
  const auto timed_out = [error] {
    *error = kPulseNoAnswer;
    return false;
  };
  // No autospawn: a desktop without a server gets ALSA, not a server of our making.
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    *error = "pulse: " + ErrorText();
    return false;
  }
  for (;;) {
    const pa_context_state_t state = pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) break;
    if (!PA_CONTEXT_IS_GOOD(state)) {
      *error = "pulse: " + ErrorText();
      return false;
    }
    if (!WaitLocked(deadline)) return timed_out();
  }
  const pa_sample_spec spec{PA_SAMPLE_S16LE, kMixRate, kMixChannels};
  pa_proplist* props = pa_proplist_new();
  pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "event");
  pa_proplist_sets(props, PA_PROP_MEDIA_NAME, kName);
  stream_ = pa_stream_new_with_proplist(context_, kName, &spec, nullptr, props);
  pa_proplist_free(props);
  if (!stream_) {
    *error = "pulse: " + ErrorText();
    return false;
  }
  pa_stream_set_state_callback(stream_, &OnStreamState, this);
  pa_stream_set_write_callback(stream_, &OnWritable, this);
  pa_buffer_attr attr;
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kLatencyMicroseconds, &spec));
  attr.prebuf = static_cast<uint32_t>(-1);
  attr.minreq = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(-1);
  // The timing flags keep the stream's latency current, for placing clips at a moment.
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY |
                                                    PA_STREAM_INTERPOLATE_TIMING |
                                                    PA_STREAM_AUTO_TIMING_UPDATE |
                                                    PA_STREAM_START_CORKED);
  if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0) {
    *error = "pulse: " + ErrorText();
    return false;
  }
  for (;;) {
    const pa_stream_state_t state = pa_stream_get_state(stream_);
    if (state == PA_STREAM_READY) return true;
    if (!PA_STREAM_IS_GOOD(state)) {
      *error = "pulse: " + ErrorText();
      return false;
    }
    if (!WaitLocked(deadline)) return timed_out();
  }
}

bool PulseSink::Write(const int16_t* samples, size_t frames) {
  if (failed_ || !stream_) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(samples);
  size_t left = frames * kMixChannels * sizeof(int16_t);
  pa_threaded_mainloop_lock(loop_);
  if (corked_ && HealthyLocked()) CorkLocked(false);
  pa_usec_t stalled_since = 0;  // when the server last took nothing; 0 while it takes
  while (left > 0) {
    if (!HealthyLocked()) {
      failed_ = true;
      break;
    }
    const size_t room = pa_stream_writable_size(stream_);
    if (room == static_cast<size_t>(-1)) {
      failed_ = true;
      break;
    }
    if (room == 0) {
      // The server asks for more as its buffer drains, or tells us it went away.
      if (stalled_since == 0) stalled_since = pa_rtclock_now();
      if (!WaitLocked(stalled_since + kStallLimitUsec)) {
        failed_ = true;
        break;
      }
      continue;
    }
    stalled_since = 0;
    const size_t n = std::min(room, left);
    if (pa_stream_write(stream_, bytes, n, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
      failed_ = true;
      break;
    }
    bytes += n;
    left -= n;
  }
  pa_threaded_mainloop_unlock(loop_);
  return !failed_;
}

std::chrono::microseconds PulseSink::Delay() {
  if (failed_ || !stream_) return {};
  pa_usec_t latency = 0;
  int negative = 0;
  pa_threaded_mainloop_lock(loop_);
  // The stream keeps its timing current on its own (PA_STREAM_AUTO_TIMING_UPDATE).
  const bool known = pa_stream_get_latency(stream_, &latency, &negative) == 0;
  pa_threaded_mainloop_unlock(loop_);
  if (!known || negative) return {};
  return std::chrono::microseconds(static_cast<int64_t>(latency));
}

void PulseSink::CorkLocked(bool cork) {
  if (pa_operation* op = pa_stream_cork(stream_, cork ? 1 : 0, nullptr, nullptr)) {
    pa_operation_unref(op);
  }
  corked_ = cork;
}

void PulseSink::Rest() {
  if (failed_ || !stream_ || corked_) return;
  pa_threaded_mainloop_lock(loop_);
  if (HealthyLocked()) CorkLocked(true);
  pa_threaded_mainloop_unlock(loop_);
}

bool PulseSink::Working() {
  if (failed_ || !stream_) return false;
  pa_threaded_mainloop_lock(loop_);
  const bool healthy = HealthyLocked();
  pa_threaded_mainloop_unlock(loop_);
  return healthy;
}

void PulseSink::Close() {
  if (!loop_) return;
  pa_threaded_mainloop_lock(loop_);
  if (stream_) {
    if (!failed_ && !corked_ && HealthyLocked()) {
      // Let what was written play out before the stream goes, but not for ever (a corked
      // stream has played all it was given).
      const pa_usec_t deadline = pa_rtclock_now() + kDrainLimitUsec;
      pa_operation* drain = pa_stream_drain(stream_, &OnDrained, this);
      while (drain && pa_operation_get_state(drain) == PA_OPERATION_RUNNING && HealthyLocked() &&
             WaitLocked(deadline)) {
      }
      if (drain) {
        if (pa_operation_get_state(drain) == PA_OPERATION_RUNNING) pa_operation_cancel(drain);
        pa_operation_unref(drain);
      }
    }
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
  }
  if (context_) {
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
  }
  pa_threaded_mainloop_unlock(loop_);
  pa_threaded_mainloop_stop(loop_);
  pa_threaded_mainloop_free(loop_);
  loop_ = nullptr;
}

}  // namespace

const char kPulseNoAnswer[] = "pulse: the server does not answer";

std::unique_ptr<AudioSink> MakePulseSink(std::string* error) {
  auto sink = std::make_unique<PulseSink>();
  std::string reason;
  if (!sink->Open(&reason)) {
    if (error) *error = reason;
    return nullptr;
  }
  return sink;
}

}  // namespace chimewell
