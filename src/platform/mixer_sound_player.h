#pragma once
// The sound player on the mixer's sound channel; anything unplayable gives the built-in chime.
// Every sound is decoded and converted to the mixer's rate as it is loaded; the images of the
// time-signal voices, played again and again, are converted once and kept.
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/mixer.h"
#include "platform/sound_player.h"

namespace chimewell {

class MixerSoundPlayer final : public SoundPlayer {
 public:
  explicit MixerSoundPlayer(Mixer& mixer);

  void Purge() override;
  void PlayMemory(std::span<const uint8_t> wave_image) override;
  bool PlayMemoryAt(std::span<const uint8_t> wave_image, WallMoment start_at,
                    std::optional<WallMoment> latest_start) override;
  void PlayBuiltIn() override;
  void PlayFile(const std::string& path) override;
  bool PlayFileAt(const std::string& path, WallMoment mark_at,
                  std::optional<WallMoment> latest_start) override;

 private:
  struct Converted {
    size_t size;
    uint64_t hash;
    std::shared_ptr<const PcmClip> clip;
  };
  static constexpr size_t kKeptImages = 64;

  // Where a placed clip goes: its wall-clock moment, and the latest it may start.
  struct Placement {
    WallMoment start_at;
    std::optional<WallMoment> latest_start;
  };
  // Plays `clip` (the chime when null) unless a purge came since `purges` was read, and waits
  // for it; placed when `placement` is given. False when it was dropped for starting too late.
  bool PlayClip(std::shared_ptr<const PcmClip> clip, uint64_t purges,
                std::optional<Placement> placement = std::nullopt);
  std::shared_ptr<const PcmClip> ConvertedImage(std::span<const uint8_t> wave_image);
  uint64_t Purges();

  Mixer& mixer_;
  const std::shared_ptr<const PcmClip> chime_;
  std::mutex mutex_;
  std::deque<Converted> converted_;  // newest first; guarded by mutex_
  // Purges so far: a sound still loading when a purge comes is not started. Guarded by
  // play_mutex_, which also keeps a purge and the start of a sound apart.
  std::mutex play_mutex_;
  uint64_t purges_ = 0;
};

// Decodes a sound file's bytes and converts them to the mixer's rate; nullptr when they are
// not a sound that can be played.
std::shared_ptr<const PcmClip> LoadClip(std::span<const uint8_t> bytes);

}  // namespace chimewell
