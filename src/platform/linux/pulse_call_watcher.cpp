#include "platform/linux/pulse_call_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>

namespace chimewell {
namespace {

constexpr char kName[] = "Chimewell";
constexpr auto kStreamEvents = static_cast<pa_subscription_mask_t>(
    PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT | PA_SUBSCRIPTION_MASK_SINK_INPUT |
    PA_SUBSCRIPTION_MASK_SOURCE);
// A server starting makes its socket (and its pid file) in this folder; one that stops removes
// them.
constexpr uint32_t kFolderEvents = IN_CREATE | IN_MOVED_TO | IN_ATTRIB | IN_CLOSE_WRITE;
// A server makes its socket a moment before it takes connections; one refused then is tried
// again a few times, shortly after. So is a server just lost: a socket-activated one (the
// systemd units of PipeWire and PulseAudio) starts anew on the next connection, and its socket
// never changes. Only a change in the folder or a loss starts this, never the passing of time.
constexpr int kQuickRetries = 10;
constexpr pa_usec_t kRetryDelayUsec = 100 * PA_USEC_PER_MSEC;

// The socket the client library reaches first: the one PULSE_SERVER names, else the user's
// own under the runtime folder.
std::filesystem::path ServerSocket() {
  const char* server = std::getenv("PULSE_SERVER");
  std::string named = server != nullptr ? server : "";
  if (named.starts_with("unix:")) named.erase(0, 5);
  if (named.starts_with('/') && named.find(' ') == std::string::npos) return named;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime == '\0') return {};
  return std::filesystem::path(runtime) / "pulse" / "native";
}

std::string Property(const pa_proplist* properties, const char* key) {
  const char* value = properties != nullptr ? pa_proplist_gets(properties, key) : nullptr;
  return value != nullptr ? value : "";
}

}  // namespace

PulseCallWatcher::PulseCallWatcher(FaultReport report)
    : report_(std::move(report)), own_process_id_(std::to_string(::getpid())) {}

PulseCallWatcher::~PulseCallWatcher() {
  if (loop_ == nullptr) return;
  pa_threaded_mainloop_stop(loop_);
  if (context_ != nullptr) retired_.push_back(context_);
  DropRetired();
  pa_threaded_mainloop_free(loop_);
  if (folder_fd_ >= 0) ::close(folder_fd_);
}

void PulseCallWatcher::Start(std::function<void(bool)> in_call, std::function<void()> unavailable) {
  in_call_changed_ = std::move(in_call);
  unavailable_ = std::move(unavailable);
  loop_ = pa_threaded_mainloop_new();
  if (loop_ == nullptr) {
    if (unavailable_) unavailable_();
    return;
  }
  pa_threaded_mainloop_set_name(loop_, "busy-sound");
  if (pa_threaded_mainloop_start(loop_) < 0) {
    if (unavailable_) unavailable_();
    return;
  }
  pa_threaded_mainloop_lock(loop_);
  // The folder first, so a server that starts while we connect is not missed.
  WatchSocketFolder();
  Connect();
  pa_threaded_mainloop_unlock(loop_);
}

void PulseCallWatcher::Guarded(const char* where, const std::function<void()>& step) const {
  // Nothing may leave a callback of the C library.
  RunCatchingFaults(where, step, report_);
}

void PulseCallWatcher::WatchSocketFolder() {
  const std::filesystem::path socket = ServerSocket();
  if (socket.empty()) return;
  folder_fd_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (folder_fd_ < 0) return;
  if (::inotify_add_watch(folder_fd_, socket.parent_path().c_str(), kFolderEvents) < 0) {
    ::close(folder_fd_);
    folder_fd_ = -1;
    return;
  }
  pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
  api->io_new(api, folder_fd_, PA_IO_EVENT_INPUT, &OnSocketFolder, this);
}

void PulseCallWatcher::Connect() {
  pa_proplist* properties = pa_proplist_new();
  pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, kName);
  pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "chimewell");
  context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), kName, properties);
  pa_proplist_free(properties);
  if (context_ == nullptr) return;
  pa_context_set_state_callback(context_, &OnContextState, this);
  // No autospawn: a server is the desktop's to start. Its failing shows in the state callback.
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    ContextStateChanged();
  }
}

void PulseCallWatcher::OnContextState(pa_context*, void* self) {
  auto* watcher = static_cast<PulseCallWatcher*>(self);
  watcher->Guarded("sound server state", [watcher] { watcher->ContextStateChanged(); });
}

void PulseCallWatcher::ContextStateChanged() {
  if (context_ == nullptr) return;
  const pa_context_state_t state = pa_context_get_state(context_);
  if (state == PA_CONTEXT_READY) {
    tried_once_ = true;
    connected_ = true;
    retries_left_ = 0;
    pa_context_set_subscribe_callback(context_, &OnServerEvent, this);
    if (pa_operation* op = pa_context_subscribe(context_, kStreamEvents, nullptr, nullptr)) {
      pa_operation_unref(op);
    }
    Refresh();
    return;
  }
  if (PA_CONTEXT_IS_GOOD(state)) return;
  // The server is gone (or never answered): no call can be seen until one comes back, which
  // the socket folder tells.
  if (!tried_once_) {
    tried_once_ = true;
    if (unavailable_) unavailable_();
  }
  if (connected_) {
    connected_ = false;
    retries_left_ = kQuickRetries;
  }
  Decide(false);
  lists_pending_ = 0;
  read_again_ = false;
  pa_context_set_state_callback(context_, nullptr, nullptr);
  pa_context_set_subscribe_callback(context_, nullptr, nullptr);
  if (retries_left_ > 0 && retry_ == nullptr) {
    --retries_left_;
    retry_ = pa_context_rttime_new(context_, pa_rtclock_now() + kRetryDelayUsec, &OnRetry, this);
  }
  // The context is let go of outside its own callback.
  retired_.push_back(context_);
  context_ = nullptr;
  pa_mainloop_api_once(pa_threaded_mainloop_get_api(loop_), &OnDropRetired, this);
}

void PulseCallWatcher::OnRetry(pa_mainloop_api* api, pa_time_event* event, const timeval*,
                               void* self) {
  auto* watcher = static_cast<PulseCallWatcher*>(self);
  api->time_free(event);
  watcher->retry_ = nullptr;
  watcher->Guarded("sound server retry", [watcher] {
    if (watcher->context_ == nullptr) watcher->Connect();
  });
}

void PulseCallWatcher::OnDropRetired(pa_mainloop_api*, void* self) {
  static_cast<PulseCallWatcher*>(self)->DropRetired();
}

void PulseCallWatcher::DropRetired() {
  for (pa_context* context : retired_) {
    pa_context_disconnect(context);
    pa_context_unref(context);
  }
  retired_.clear();
}

void PulseCallWatcher::OnSocketFolder(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t,
                                      void* self) {
  auto* watcher = static_cast<PulseCallWatcher*>(self);
  watcher->Guarded("sound server folder", [watcher, fd] {
    alignas(inotify_event) std::array<char, 4096> buffer{};
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    if (watcher->context_ == nullptr && std::filesystem::exists(ServerSocket())) {
      watcher->retries_left_ = kQuickRetries;
      watcher->Connect();
    }
  });
}

void PulseCallWatcher::OnServerEvent(pa_context*, pa_subscription_event_type_t, uint32_t,
                                     void* self) {
  auto* watcher = static_cast<PulseCallWatcher*>(self);
  watcher->Guarded("sound server event", [watcher] { watcher->Refresh(); });
}

void PulseCallWatcher::Refresh() {
  if (lists_pending_ > 0) {
    // Events come in bursts; one more reading after the current one covers them all.
    read_again_ = true;
    return;
  }
  source_is_monitor_.clear();
  recordings_.clear();
  playings_.clear();
  // The server answers in order; the decision waits for all three lists.
  for (pa_operation* op : {pa_context_get_source_info_list(context_, &OnSource, this),
                           pa_context_get_source_output_info_list(context_, &OnSourceOutput, this),
                           pa_context_get_sink_input_info_list(context_, &OnSinkInput, this)}) {
    if (op == nullptr) continue;
    ++lists_pending_;
    pa_operation_unref(op);
  }
}

void PulseCallWatcher::OnSource(pa_context*, const pa_source_info* info, int eol, void* self) {
  auto* watcher = static_cast<PulseCallWatcher*>(self);
  watcher->Guarded("sound server sources", [&] {
    if (eol != 0) return watcher->ListDone();
    watcher->source_is_monitor_[info->index] = info->monitor_of_sink != PA_INVALID_INDEX;
  });
}

void PulseCallWatcher::OnSourceOutput(pa_context*, const pa_source_output_info* info, int eol,
                                      void* self) {
  auto* watcher = static_cast<PulseCallWatcher*>(self);
  watcher->Guarded("sound server recordings", [&] {
    if (eol != 0) return watcher->ListDone();
    watcher->recordings_.emplace_back(
        info->source,
        RecordingStream{info->corked != 0, false,
                        Property(info->proplist, PA_PROP_APPLICATION_PROCESS_ID),
                        info->resample_method != nullptr ? info->resample_method : "",
                        Property(info->proplist, "stream.monitor")});
  });
}

void PulseCallWatcher::OnSinkInput(pa_context*, const pa_sink_input_info* info, int eol,
                                   void* self) {
  auto* watcher = static_cast<PulseCallWatcher*>(self);
  watcher->Guarded("sound server playback", [&] {
    if (eol != 0) return watcher->ListDone();
    watcher->playings_.push_back({Property(info->proplist, PA_PROP_MEDIA_ROLE)});
  });
}

void PulseCallWatcher::ListDone() {
  if (lists_pending_ == 0 || --lists_pending_ > 0) return;
  if (read_again_) {
    read_again_ = false;
    return Refresh();
  }
  std::vector<RecordingStream> recordings;
  for (auto& [source, stream] : recordings_) {
    // A source not listed (it came after the list was read) is taken as a microphone; the
    // event of its coming brings a new reading.
    const auto it = source_is_monitor_.find(source);
    stream.from_monitor = it != source_is_monitor_.end() && it->second;
    recordings.push_back(stream);
  }
  Decide(InCall(recordings, playings_, own_process_id_));
}

void PulseCallWatcher::Decide(bool in_call) {
  if (in_call == in_call_) return;
  in_call_ = in_call;
  if (in_call_changed_) in_call_changed_(in_call);
}

}  // namespace chimewell
