#include "playback/playback.h"

#include <algorithm>
#include <utility>

namespace chimewell {

Playback::Playback(Clock& clock, UiThread& ui, SoundPlayer& sound, SpeechControl& speech,
                   MidiLibrary& midi, Log& log, PlaybackSettings settings)
    : clock_(clock),
      sound_(sound),
      speech_(speech),
      midi_(midi),
      log_(log),
      settings_(std::move(settings)),
      hand_off_(ui) {}

Playback::~Playback() {
  hand_off_.Close();
  std::vector<std::shared_ptr<WorkerThread>> workers;
  {
    const std::lock_guard lock(mutex_);
    message_thread_.reset();
    midi_thread_.reset();
    workers.swap(workers_);
  }
  for (const auto& worker : workers) worker->Terminate();
  for (const auto& worker : workers) worker->Join();
}

// ---- creating and forgetting workers ----

std::shared_ptr<TMessageThread> Playback::NewMessageThreadLocked() {
  MessageThreadHost host{
      sound_,
      speech_,
      log_,
      settings_.mute_checked,
      settings_.back_volume,
      [this](int volume) { SetMusicOverride(volume); },
      settings_.late_limit};
  auto worker = std::make_shared<TMessageThread>(clock_, hand_off_, std::move(host));
  const uint64_t serial = next_serial_++;
  // The notification is dropped by the hand-off once this object is being destroyed.
  worker->SetEndNotification([this, serial] { OnMessageThreadEnded(serial); });
  worker->SetFaultReport(settings_.report_fault);
  if (paused_) worker->Suspend();
  message_thread_ = worker;
  message_serial_ = serial;
  workers_.push_back(worker);
  return worker;
}

std::shared_ptr<TMidiThread> Playback::NewMidiThreadLocked() {
  auto worker = std::make_shared<TMidiThread>(clock_, hand_off_, midi_, log_);
  const uint64_t serial = next_serial_++;
  worker->SetEndNotification([this, serial] { OnMidiThreadEnded(serial); });
  worker->SetFaultReport(settings_.report_fault);
  // Music that starts while muted starts silent.
  if (settings_.mute_checked && settings_.mute_checked()) worker->SetMute(true);
  if (paused_) worker->Suspend();
  midi_thread_ = worker;
  midi_serial_ = serial;
  workers_.push_back(worker);
  return worker;
}

void Playback::QueueMessage(const std::function<bool(TMessageThread&)>& queue, bool hold) {
  ReapFinished();
  for (;;) {
    std::shared_ptr<TMessageThread> worker;
    bool fresh = false;
    {
      const std::lock_guard lock(mutex_);
      if (message_thread_ == nullptr) {
        NewMessageThreadLocked();
        fresh = true;
      }
      worker = message_thread_;
    }
    if (hold && !fresh) worker->Hold();
    const bool accepted = queue(*worker);
    if (hold && !fresh) worker->Release();
    if (accepted) {
      if (fresh) worker->Start();
      return;
    }
    // The worker ran out of work and ended just now; the item goes to a fresh one.
    ForgetMessageThread(worker);
  }
}

void Playback::QueueMidi(const std::function<bool(TMidiThread&)>& queue) {
  ReapFinished();
  for (;;) {
    std::shared_ptr<TMidiThread> worker;
    bool fresh = false;
    {
      const std::lock_guard lock(mutex_);
      if (midi_thread_ == nullptr) {
        NewMidiThreadLocked();
        fresh = true;
      }
      worker = midi_thread_;
    }
    if (!fresh) worker->Hold();
    const bool accepted = queue(*worker);
    if (!fresh) worker->Release();
    if (accepted) {
      if (fresh) worker->Start();
      return;
    }
    ForgetMidiThread(worker);
  }
}

void Playback::ForgetMessageThread(const std::shared_ptr<TMessageThread>& worker) {
  worker->MarkSuperseded();
  const std::lock_guard lock(mutex_);
  if (message_thread_ == worker) message_thread_.reset();
}

void Playback::ForgetMidiThread(const std::shared_ptr<TMidiThread>& worker) {
  const std::lock_guard lock(mutex_);
  if (midi_thread_ == worker) midi_thread_.reset();
}

void Playback::OnMessageThreadEnded(uint64_t serial) {
  bool disable_skip = false;
  {
    const std::lock_guard lock(mutex_);
    if (message_thread_ != nullptr && message_serial_ == serial) {
      message_thread_.reset();
      disable_skip = true;
    } else {
      // A worker forgotten earlier (Clear All): a newer worker keeps its reference, and Skip
      // stays enabled while anything else may still play.
      disable_skip = message_thread_ == nullptr && midi_thread_ == nullptr;
    }
  }
  if (disable_skip) SetSkipEnabled(false);
  ReapFinished();
}

void Playback::OnMidiThreadEnded(uint64_t serial) {
  bool disable_skip = false;
  {
    const std::lock_guard lock(mutex_);
    if (midi_thread_ != nullptr && midi_serial_ == serial) {
      midi_thread_.reset();
      disable_skip = true;
    } else {
      disable_skip = message_thread_ == nullptr && midi_thread_ == nullptr;
    }
  }
  if (disable_skip) SetSkipEnabled(false);
  ReapFinished();
}

void Playback::ReapFinished() {
  std::vector<std::shared_ptr<WorkerThread>> finished;
  {
    const std::lock_guard lock(mutex_);
    auto done = std::stable_partition(workers_.begin(), workers_.end(),
                                      [](const auto& worker) { return !worker->Finished(); });
    finished.assign(std::make_move_iterator(done), std::make_move_iterator(workers_.end()));
    workers_.erase(done, workers_.end());
  }
  for (const auto& worker : finished) worker->Join();
}

// ---- message worker queue ----

void Playback::SetMessageCount(const std::string& text, int32_t volume, int32_t count,
                               std::optional<int64_t> start_at_ms) {
  QueueMessage(
      [&](TMessageThread& w) { return w.SetMessageCount(text, volume, count, start_at_ms); },
      false);
}

void Playback::SetMessageUntil(const std::string& text, int32_t volume, TDateTime end_time,
                               std::optional<int64_t> start_at_ms) {
  QueueMessage(
      [&](TMessageThread& w) { return w.SetMessageUntil(text, volume, end_time, start_at_ms); },
      false);
}

void Playback::SetWaveCount(const std::string& file_name, int32_t count) {
  QueueMessage([&](TMessageThread& w) { return w.SetWaveCount(file_name, count); }, true);
}

void Playback::SetWaveUntil(const std::string& file_name, TDateTime end_time) {
  QueueMessage([&](TMessageThread& w) { return w.SetWaveUntil(file_name, end_time); }, true);
}

void Playback::SetTimeSignal(const VoiceImagePtr& voice_image,
                             const std::vector<int32_t>& fragments, int32_t repeat,
                             std::optional<int64_t> start_at_ms) {
  SetSkipEnabled(true);
  QueueMessage(
      [&](TMessageThread& w) {
        return w.SetTimeSignal(voice_image, fragments, repeat, start_at_ms);
      },
      false);
}

bool Playback::IsTimeSignalQueued() const {
  std::shared_ptr<TMessageThread> worker;
  {
    const std::lock_guard lock(mutex_);
    worker = message_thread_;
  }
  return worker != nullptr && worker->IsTimeSignalQueued();
}

// ---- MIDI worker queue ----

void Playback::SetMidiRepeat(const std::string& file_name, int32_t volume, int32_t count) {
  QueueMidi([&](TMidiThread& w) { return w.SetMidiRepeat(file_name, volume, count); });
}

void Playback::SetMidiUntil(const std::string& file_name, int32_t volume, TDateTime end_time) {
  QueueMidi([&](TMidiThread& w) { return w.SetMidiUntil(file_name, volume, end_time); });
}

// ---- menu commands ----

void Playback::ClearAll() {
  speech_.DiscardPrepared();
  speech_.StopSpeech();
  std::shared_ptr<TMessageThread> message;
  std::shared_ptr<TMidiThread> midi;
  {
    const std::lock_guard lock(mutex_);
    message = std::move(message_thread_);
    midi = std::move(midi_thread_);
    message_thread_.reset();
    midi_thread_.reset();
  }
  // Terminated workers end on their own; nobody waits for them here.
  if (message != nullptr) {
    message->MarkSuperseded();
    message->Terminate();
  }
  if (midi != nullptr) midi->Terminate();
}

void Playback::Pause(bool on) {
  speech_.DiscardPrepared();
  std::shared_ptr<TMessageThread> message;
  std::shared_ptr<TMidiThread> midi;
  {
    const std::lock_guard lock(mutex_);
    if (paused_ == on) return;
    paused_ = on;
    message = message_thread_;
    midi = midi_thread_;
  }
  if (on) {
    // Held first, then cut short: the worker woken by the skip then stops at its next step
    // instead of going on to the next item.
    if (message != nullptr) {
      message->Suspend();
      message->SkipCurrent();
    }
    if (midi != nullptr) {
      midi->Suspend();
      midi->StopMidi();
    }
    speech_.StopSpeech();
    SetSkipEnabled(false);
  } else {
    if (message != nullptr) message->Resume();
    if (midi != nullptr) midi->Resume();
  }
}

void Playback::Skip() {
  speech_.DiscardPrepared();
  std::shared_ptr<TMessageThread> message;
  std::shared_ptr<TMidiThread> midi;
  {
    const std::lock_guard lock(mutex_);
    message = message_thread_;
    midi = midi_thread_;
  }
  if (message != nullptr) message->SkipCurrent();
  if (midi != nullptr) midi->StopMidi();
  speech_.StopSpeech();
}

void Playback::SetMute(bool on) {
  speech_.DiscardPrepared();
  std::shared_ptr<TMessageThread> message;
  std::shared_ptr<TMidiThread> midi;
  {
    const std::lock_guard lock(mutex_);
    message = message_thread_;
    midi = midi_thread_;
  }
  if (message != nullptr) message->SetMute(on);
  if (midi != nullptr) midi->SetMute(on);
}

void Playback::SetMusicOverride(int volume) {
  std::shared_ptr<TMidiThread> midi;
  {
    const std::lock_guard lock(mutex_);
    midi = midi_thread_;
  }
  if (midi != nullptr) midi->SetVolumeOverride(volume);
}

void Playback::SetSkipEnabled(bool enabled) {
  if (settings_.skip_enabled) settings_.skip_enabled(enabled);
}

bool Playback::HasMessageThread() const {
  const std::lock_guard lock(mutex_);
  return message_thread_ != nullptr;
}

bool Playback::HasMidiThread() const {
  const std::lock_guard lock(mutex_);
  return midi_thread_ != nullptr;
}

int Playback::RunningWorkerCount() const {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(workers_.begin(), workers_.end(),
                                        [](const auto& worker) { return worker->Running(); }));
}

}  // namespace chimewell
