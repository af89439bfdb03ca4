#include "platform/mixer_sound_player.h"

#include "platform/builtin_chime.h"
#include "platform/wave_file.h"

namespace chimewell {
namespace {

std::shared_ptr<const PcmClip> Share(std::optional<PcmClip> clip) {
  if (!clip) return nullptr;
  return std::make_shared<const PcmClip>(std::move(*clip));
}

}  // namespace

MixerSoundPlayer::MixerSoundPlayer(Mixer& mixer)
    : mixer_(mixer), chime_(Share(ParseWave(BuiltInChimeImage()))) {}

void MixerSoundPlayer::Purge() { mixer_.StopChannel(MixChannel::kSound); }

void MixerSoundPlayer::PlayMemory(std::span<const uint8_t> wave_image) {
  // Decoding copies the samples, so the caller's image may go away while the sound plays.
  PlayClip(Share(ParseWave(wave_image)));
}

void MixerSoundPlayer::PlayBuiltIn() { PlayClip(chime_); }

void MixerSoundPlayer::PlayFile(const std::string& path) { PlayClip(Share(LoadWaveFile(path))); }

void MixerSoundPlayer::PlayClip(std::shared_ptr<const PcmClip> clip) {
  mixer_.Play(MixChannel::kSound, clip ? std::move(clip) : chime_)->Wait();
}

}  // namespace chimewell
