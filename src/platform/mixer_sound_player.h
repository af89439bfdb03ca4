#pragma once
// The sound player on the mixer's sound channel; anything unplayable gives the built-in chime.
#include <memory>

#include "platform/mixer.h"
#include "platform/sound_player.h"

namespace chimewell {

class MixerSoundPlayer final : public SoundPlayer {
 public:
  explicit MixerSoundPlayer(Mixer& mixer);

  void Purge() override;
  void PlayMemory(std::span<const uint8_t> wave_image) override;
  void PlayBuiltIn() override;
  void PlayFile(const std::string& path) override;

 private:
  void PlayClip(std::shared_ptr<const PcmClip> clip);

  Mixer& mixer_;
  const std::shared_ptr<const PcmClip> chime_;
};

}  // namespace chimewell
