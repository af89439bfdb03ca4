#include "playback/playback.h"

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
      hand_off_(ui),
      roster_(settings_.report_fault),
      message_slot_(
          roster_, [this] { return NewMessageThread(); }, [this] { SetSkipEnabled(false); }),
      midi_slot_(
          roster_, [this] { return NewMidiThread(); }, [this] { SetSkipEnabled(false); }) {}

Playback::~Playback() {
  hand_off_.Close();
  {
    const auto lock = roster_.Locked();
    message_slot_.Take(lock);
    midi_slot_.Take(lock);
  }
  roster_.EndAll();
}

std::shared_ptr<TMessageThread> Playback::NewMessageThread() {
  MessageThreadHost host{sound_,
                         speech_,
                         log_,
                         settings_.mute_checked,
                         settings_.back_volume,
                         [this](int volume) { SetMusicOverride(volume); },
                         settings_.late_limit,
                         settings_.message_finished};
  return std::make_shared<TMessageThread>(clock_, hand_off_, std::move(host));
}

std::shared_ptr<TMidiThread> Playback::NewMidiThread() {
  auto worker = std::make_shared<TMidiThread>(clock_, hand_off_, midi_, log_);
  // Music that starts while muted starts silent.
  if (settings_.mute_checked && settings_.mute_checked()) worker->SetMute(true);
  return worker;
}

Playback::Workers Playback::CurrentWorkers(const WorkerRoster::Lock& held) const {
  return {message_slot_.Current(held), midi_slot_.Current(held)};
}

Playback::Workers Playback::CurrentWorkers() const { return CurrentWorkers(roster_.Locked()); }

// ---- message worker queue ----

void Playback::SetMessageCount(const std::string& text, int32_t volume, int32_t count,
                               std::optional<WallMoment> start_at) {
  message_slot_.Queue(
      [&](TMessageThread& w) { return w.SetMessageCount(text, volume, count, start_at); }, false);
}

void Playback::SetTicketedMessage(const std::string& text, int32_t volume,
                                  std::optional<WallMoment> start_at, uint64_t ticket) {
  message_slot_.Queue(
      [&](TMessageThread& w) { return w.SetMessageCount(text, volume, 1, start_at, ticket); },
      false);
}

void Playback::SetMessageUntil(const std::string& text, int32_t volume, TDateTime end_time,
                               std::optional<WallMoment> start_at) {
  message_slot_.Queue(
      [&](TMessageThread& w) { return w.SetMessageUntil(text, volume, end_time, start_at); },
      false);
}

void Playback::SetWaveCount(const std::string& file_name, int32_t count,
                            std::optional<WallMoment> mark_at) {
  message_slot_.Queue([&](TMessageThread& w) { return w.SetWaveCount(file_name, count, mark_at); },
                      true);
}

void Playback::SetWaveUntil(const std::string& file_name, TDateTime end_time,
                            std::optional<WallMoment> mark_at) {
  message_slot_.Queue(
      [&](TMessageThread& w) { return w.SetWaveUntil(file_name, end_time, mark_at); }, true);
}

void Playback::SetTimeSignal(const VoiceImagePtr& voice_image,
                             const std::vector<int32_t>& fragments, int32_t repeat,
                             std::optional<WallMoment> start_at) {
  SetSkipEnabled(true);
  message_slot_.Queue(
      [&](TMessageThread& w) { return w.SetTimeSignal(voice_image, fragments, repeat, start_at); },
      false);
}

bool Playback::IsTimeSignalQueued() const {
  const auto worker = message_slot_.Current();
  return worker != nullptr && worker->IsTimeSignalQueued();
}

// ---- MIDI worker queue ----

void Playback::SetMidiRepeat(const std::string& file_name, int32_t volume, int32_t count) {
  midi_slot_.Queue([&](TMidiThread& w) { return w.SetMidiRepeat(file_name, volume, count); }, true);
}

void Playback::SetMidiUntil(const std::string& file_name, int32_t volume, TDateTime end_time) {
  midi_slot_.Queue([&](TMidiThread& w) { return w.SetMidiUntil(file_name, volume, end_time); },
                   true);
}

// ---- menu commands ----

void Playback::ClearAll() {
  speech_.DiscardPrepared();
  speech_.StopSpeech();
  Workers taken;
  {
    const auto lock = roster_.Locked();
    taken = {message_slot_.Take(lock), midi_slot_.Take(lock)};
  }
  WorkerSlot<TMessageThread>::Retire(taken.message);
  WorkerSlot<TMidiThread>::Retire(taken.midi);
}

void Playback::EndMusic() {
  std::shared_ptr<TMidiThread> taken;
  {
    const auto lock = roster_.Locked();
    taken = midi_slot_.Take(lock);
  }
  WorkerSlot<TMidiThread>::Retire(taken);
}

void Playback::Pause(bool on) {
  speech_.DiscardPrepared();
  Workers current;
  {
    const auto lock = roster_.Locked();
    if (!roster_.SetPaused(on, lock)) return;
    current = CurrentWorkers(lock);
  }
  if (on) {
    // Held first, then cut short: the worker woken by the skip then stops at its next step
    // instead of going on to the next item.
    if (current.message != nullptr) {
      current.message->Suspend();
      current.message->SkipCurrent();
    }
    if (current.midi != nullptr) {
      current.midi->Suspend();
      current.midi->StopMidi();
    }
    speech_.StopSpeech();
    SetSkipEnabled(false);
  } else {
    if (current.message != nullptr) current.message->Resume();
    if (current.midi != nullptr) current.midi->Resume();
  }
}

void Playback::HoldMusic(bool on) {
  if (on == (music_held_ != nullptr)) return;
  if (!on) {
    music_held_->Resume();
    music_held_.reset();
    return;
  }
  music_held_ = CurrentWorkers().midi;
  if (music_held_ == nullptr) return;
  music_held_->Suspend();
  music_held_->StopMidi();
}

void Playback::Skip() {
  speech_.DiscardPrepared();
  const Workers current = CurrentWorkers();
  if (current.message != nullptr) current.message->SkipCurrent();
  if (current.midi != nullptr) current.midi->StopMidi();
  speech_.StopSpeech();
}

void Playback::SetMute(bool on) {
  speech_.DiscardPrepared();
  const Workers current = CurrentWorkers();
  if (current.message != nullptr) current.message->SetMute(on);
  if (current.midi != nullptr) current.midi->SetMute(on);
}

void Playback::SetMusicOverride(int volume) {
  const auto midi = midi_slot_.Current();
  if (midi != nullptr) midi->SetVolumeOverride(volume);
}

void Playback::SetSkipEnabled(bool enabled) {
  if (settings_.skip_enabled) settings_.skip_enabled(enabled);
}

bool Playback::HasMessageThread() const { return message_slot_.Current() != nullptr; }

bool Playback::HasMidiThread() const { return midi_slot_.Current() != nullptr; }

int Playback::RunningWorkerCount() const { return roster_.RunningCount(); }

}  // namespace chimewell
