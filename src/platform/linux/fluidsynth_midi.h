#pragma once
// The MIDI library on FluidSynth, rendering into the mixer's music channel. One synthesizer
// serves every MIDI worker: each KBGMOpen makes its caller an owner, and the last KBGMClose
// frees it, so a worker that ends late cannot pull the synthesizer from under a newer one.
// Disk work and parsing (the SoundFont, the song file) happen outside the lock that the UI
// thread's calls (stop, volume, status) and the mixer's rendering take: a song is loaded whole,
// then swapped in under the lock. The music renders into the mixer only while it sounds.
// Threads: the MIDI workers open, load, play and close; the UI thread stops, sets the volume
// and asks the status; the mixing thread renders. Every field but the constant ones is guarded
// by mutex_; a synthesizer or song is built outside it and used only under it once swapped in.
// Lock order: the mixer's render lock, then mutex_ (Render runs under both); no call into the
// mixer is made with mutex_ held.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/midi_library.h"
#include "platform/mixer.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace chimewell {

class FluidSynthMidi final : public MidiLibrary {
 public:
  // `soundfont` empty: the first SoundFont found under /usr/share/sounds/sf2.
  FluidSynthMidi(Mixer& mixer, std::string soundfont = "");
  ~FluidSynthMidi() override;

  int32_t KBGMOpen(int32_t a, int32_t b) override;
  int32_t KBGMLoadFile(int32_t* handle, const std::string& path) override;
  int32_t KBGMPlay(int32_t handle, int32_t flags) override;
  int32_t KBGMGetInfo(int32_t handle, KbgmInfo* info) override;
  int32_t KBGMSetVolume(int32_t handle, int32_t volume) override;
  int32_t KBGMStop() override;
  int32_t KBGMFree(int32_t handle) override;
  int32_t KBGMClose() override;

  // The SoundFont that KBGMOpen loads (empty when none is found).
  const std::string& soundfont() const { return soundfont_; }
  // Callers of KBGMOpen that have not closed yet.
  int Owners() const;

 private:
  class Synth;
  class Song;
  // Adds the music to the mixer's block; false once it has died away after the song ended.
  bool Render(float* left, float* right, size_t frames);
  void StopLocked();

  Mixer& mixer_;
  const std::string soundfont_;
  mutable std::mutex mutex_;
  // Guarded by mutex_.
  std::unique_ptr<Synth> synth_;
  int owners_ = 0;
  std::shared_ptr<const std::vector<uint8_t>> song_data_;  // the loaded file's MIDI data
  std::unique_ptr<Song> ready_;    // parsed from song_data_ and not yet played
  std::unique_ptr<Song> playing_song_;  // the one the synthesizer plays or last played
  int32_t song_handle_ = 0;
  int32_t next_handle_ = 0;
  bool playing_ = false;
  size_t tail_frames_ = 0;  // rendered since the song stopped
  std::vector<float> render_left_, render_right_;
};

// The standard MIDI data in `bytes` (a plain "MThd" file, or the data chunk of a RIFF RMID
// file); empty when it is not MIDI.
std::vector<uint8_t> ExtractMidiData(const std::vector<uint8_t>& bytes);

}  // namespace chimewell
