#pragma once
// The MIDI player library: open, load a song into one handle, play, poll, volume, stop, close.
#include <cstdint>
#include <string>

namespace chimewell {

// The part of the library's information block the program reads.
struct KbgmInfo {
  int32_t playing = 0;  // non-zero while the song plays
};

class MidiLibrary {
 public:
  virtual ~MidiLibrary() = default;
  // 0 when the library opened.
  virtual int32_t KBGMOpen(int32_t a, int32_t b) = 0;
  // 0 when loaded; `*handle` then refers to the song (replacing an earlier one).
  virtual int32_t KBGMLoadFile(int32_t* handle, const std::string& path) = 0;
  // 0 when playing.
  virtual int32_t KBGMPlay(int32_t handle, int32_t flags) = 0;
  // Fills `info`; handle 0 reports that nothing plays.
  virtual int32_t KBGMGetInfo(int32_t handle, KbgmInfo* info) = 0;
  // Loudness 0..100.
  virtual int32_t KBGMSetVolume(int32_t handle, int32_t volume) = 0;
  virtual int32_t KBGMStop() = 0;
  // Releases the song; handle 0 is harmless.
  virtual int32_t KBGMFree(int32_t handle) = 0;
  virtual int32_t KBGMClose() = 0;
};

}  // namespace chimewell
