#pragma once
// The sound player on the mixer's sound channel; anything unplayable gives the built-in chime.
// Every sound is decoded and converted to the mixer's rate as it is loaded; the images of the
// time-signal voices, played again and again, are converted once and kept.
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

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
  struct Converted {
    size_t size;
    uint64_t hash;
    std::shared_ptr<const PcmClip> clip;
  };
  static constexpr size_t kKeptImages = 64;

  void PlayClip(std::shared_ptr<const PcmClip> clip);
  std::shared_ptr<const PcmClip> ConvertedImage(std::span<const uint8_t> wave_image);

  Mixer& mixer_;
  const std::shared_ptr<const PcmClip> chime_;
  std::mutex mutex_;
  std::deque<Converted> converted_;  // newest first; guarded by mutex_
};

// Decodes a sound file's bytes and converts them to the mixer's rate; nullptr when they are
// not a sound that can be played.
std::shared_ptr<const PcmClip> LoadClip(std::span<const uint8_t> bytes);

}  // namespace chimewell
