#pragma once
// Notices a call on the sound server (PulseAudio, or PipeWire's pulse service): the server's
// stream events are read as they come, and the server's socket folder is watched so that a
// server that starts, or comes back, is found at once. Between events the client library's
// loop thread sleeps; the only timer is a short run of retries after the socket appeared or the
// server was lost.
#include <pulse/pulseaudio.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/fault.h"
#include "platform/linux/call_streams.h"

namespace chimewell {

// Owned by the busy-desktop watcher. After Start, every field is touched only on the client
// library's loop thread (its callbacks) or with the loop's lock held.
class PulseCallWatcher {
 public:
  // `report` is told of a fault on the loop thread.
  explicit PulseCallWatcher(FaultReport report = {});
  ~PulseCallWatcher();
  PulseCallWatcher(const PulseCallWatcher&) = delete;
  PulseCallWatcher& operator=(const PulseCallWatcher&) = delete;

  // Called once. `in_call` runs on the loop thread when the answer changes; `unavailable` runs
  // once if no server answers the first time (one that starts later is still found).
  void Start(std::function<void(bool)> in_call, std::function<void()> unavailable);

 private:
  static void OnContextState(pa_context* context, void* self);
  static void OnServerEvent(pa_context* context, pa_subscription_event_type_t, uint32_t,
                            void* self);
  static void OnSource(pa_context*, const pa_source_info* info, int eol, void* self);
  static void OnSourceOutput(pa_context*, const pa_source_output_info* info, int eol, void* self);
  static void OnSinkInput(pa_context*, const pa_sink_input_info* info, int eol, void* self);
  static void OnSocketFolder(pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* self);
  static void OnDropRetired(pa_mainloop_api*, void* self);
  static void OnRetry(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* self);

  void WatchSocketFolder();
  void Connect();
  void ContextStateChanged();
  void Refresh();
  void ListDone();
  void Decide(bool in_call);
  void DropRetired();
  void Guarded(const char* where, const std::function<void()>& step) const;

  FaultReport report_;
  std::function<void(bool)> in_call_changed_;
  std::function<void()> unavailable_;
  const std::string own_process_id_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;     // null while no server is connected
  std::vector<pa_context*> retired_;  // failed, to be let go of outside their callbacks
  int folder_fd_ = -1;                // inotify on the server socket's folder
  bool tried_once_ = false;
  bool connected_ = false;          // the current context has been ready
  int retries_left_ = 0;            // after the socket folder changed or the server was lost
  pa_time_event* retry_ = nullptr;  // a refused connection tried again soon
  bool in_call_ = false;

  // One reading of the server's streams: three lists asked for together.
  int lists_pending_ = 0;
  bool read_again_ = false;  // an event came while reading
  std::map<uint32_t, bool> source_is_monitor_;
  std::vector<std::pair<uint32_t, RecordingStream>> recordings_;  // by source index
  std::vector<PlayingStream> playings_;
};

}  // namespace chimewell
