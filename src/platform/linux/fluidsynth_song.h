#pragma once
// A song for FluidSynthMidi: a MIDI file parsed ahead, then played into the synthesizer as the
// mixer renders. Only fluidsynth_midi.cpp includes it.
#include <fluidsynth.h>

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/audio_sink.h"
#include "platform/linux/fluidsynth_midi.h"

namespace chimewell {

// One song, parsed ahead and played into the synthesizer. FluidSynth's player reads its file
// on its first step, inside the rendering of the synthesizer it belongs to; so each song gets a
// player on a small synthesizer of its own, without instruments, that only keeps its time.
// Its first step runs in Load, on the caller's thread; from then on the player advances with
// the music as the mixer renders, and its events go to the real synthesizer.
class FluidSynthMidi::Song {
 public:
  // Parses `data`; nullptr when it holds no playable music. Slow for a large file, and done by
  // the caller without any lock held.
  static std::unique_ptr<Song> Load(const std::vector<uint8_t>& data) {
    auto song = std::unique_ptr<Song>(new Song);
    if (!song->driver_ || !song->player_ ||
        fluid_player_add_mem(song->player_, data.data(), data.size()) != FLUID_OK ||
        fluid_player_play(song->player_) != FLUID_OK) {
      return nullptr;
    }
    song->Advance(kStep);  // the file is read here; the events of its first moment are kept
    if (fluid_player_get_status(song->player_) != FLUID_PLAYER_PLAYING) return nullptr;
    return song;
  }
  ~Song() {
    if (player_) {
      fluid_player_stop(player_);
      delete_fluid_player(player_);
    }
    if (driver_) delete_fluid_synth(driver_);
    delete_fluid_settings(settings_);
  }
  Song(const Song&) = delete;
  Song& operator=(const Song&) = delete;

  // From now on the events go to `synth`, the kept ones first. Cheap: called under the lock.
  void Attach(fluid_synth_t* synth) {
    target_ = synth;
    for (fluid_midi_event_t* event : first_events_) fluid_synth_handle_midi_event(target_, event);
    first_events_.clear();
  }
  // Moves the song on by `frames` (at most kStep), sending the events that fall due.
  void Advance(size_t frames) {
    fluid_synth_write_float(driver_, static_cast<int>(frames), scratch_.data(), 0, 1,
                            scratch_.data(), 0, 1);
  }
  // The last event has passed, or the player stopped.
  bool Ended() const {
    const int total = fluid_player_get_total_ticks(player_);
    return fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING ||
           (total > 0 && fluid_player_get_current_tick(player_) >= total);
  }
  void Stop() { fluid_player_stop(player_); }

  // FluidSynth's own block: the player steps once per block, so advancing the song and
  // rendering the music in blocks of this size keeps each event on its block.
  static constexpr size_t kStep = 64;

 private:
  Song() {
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kMixRate);
    fluid_settings_setint(settings_, "synth.polyphony", 1);
    fluid_settings_setint(settings_, "synth.reverb.active", 0);
    fluid_settings_setint(settings_, "synth.chorus.active", 0);
    // The player advances with the samples rendered, so the song keeps the mixer's time.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    driver_ = new_fluid_synth(settings_);
    if (!driver_) return;
    player_ = new_fluid_player(driver_);
    if (player_) fluid_player_set_playback_callback(player_, &Song::OnEvent, this);
  }
  static int OnEvent(void* data, fluid_midi_event_t* event) {
    auto* self = static_cast<Song*>(data);
    if (self->target_) return fluid_synth_handle_midi_event(self->target_, event);
    // Before Attach: the event belongs to the player's loaded tracks and lives as long as it.
    self->first_events_.push_back(event);
    return FLUID_OK;
  }

  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* driver_ = nullptr;
  fluid_player_t* player_ = nullptr;
  fluid_synth_t* target_ = nullptr;
  std::vector<fluid_midi_event_t*> first_events_;
  std::array<float, kStep> scratch_{};
};

}  // namespace chimewell
