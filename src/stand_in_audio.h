#pragma once
// STAND-INS, to be replaced by the real sound output: silent sound player, speech and MIDI
// library, so the clock runs before the Linux audio components are wired into the program.
#include "platform/midi_library.h"
#include "platform/sound_player.h"
#include "platform/speech_control.h"

namespace chimewell::stand_in {

class SilentSoundPlayer final : public SoundPlayer {
 public:
  void Purge() override {}
  void PlayMemory(std::span<const uint8_t>) override {}
  void PlayBuiltIn() override {}
  void PlayFile(const std::string&) override {}
};

class SilentSpeech final : public SpeechControl {
 public:
  void SpeakText(const std::string&) override {}
  void StopSpeech() override {}
  int16_t Speaking() const override { return 0; }
  void SetVolumeLeft(uint32_t) override {}
  void SetVolumeRight(uint32_t) override {}
};

class SilentMidi final : public MidiLibrary {
 public:
  int32_t KBGMOpen(int32_t, int32_t) override { return 0; }
  int32_t KBGMLoadFile(int32_t* handle, const std::string&) override {
    *handle = 1;
    return 0;
  }
  int32_t KBGMPlay(int32_t, int32_t) override { return 0; }
  int32_t KBGMGetInfo(int32_t, KbgmInfo* info) override {
    info->playing = 0;
    return 0;
  }
  int32_t KBGMSetVolume(int32_t, int32_t) override { return 0; }
  int32_t KBGMStop() override { return 0; }
  int32_t KBGMFree(int32_t) override { return 0; }
  int32_t KBGMClose() override { return 0; }
};

}  // namespace chimewell::stand_in
