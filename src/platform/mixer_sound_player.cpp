#include "platform/mixer_sound_player.h"

#include "core/bounded_file.h"
#include "platform/builtin_chime.h"
#include "platform/lead_in.h"
#include "platform/mark_placement.h"
#include "platform/resample.h"
#include "platform/wave_file.h"

namespace chimewell {
namespace {

// FNV-1a: tells the images of one voice set apart at a fraction of a conversion's cost.
uint64_t HashBytes(std::span<const uint8_t> bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (uint8_t b : bytes) h = (h ^ b) * 0x100000001b3ull;
  return h;
}

}  // namespace

std::shared_ptr<const PcmClip> LoadClip(std::span<const uint8_t> bytes) {
  auto clip = ParseWave(bytes);
  if (!clip) return nullptr;
  return std::make_shared<const PcmClip>(ConvertToMixRate(std::move(*clip)));
}

MixerSoundPlayer::MixerSoundPlayer(Mixer& mixer)
    : mixer_(mixer), chime_(LoadClip(BuiltInChimeImage())) {}

void MixerSoundPlayer::Purge() {
  const std::lock_guard lock(play_mutex_);
  ++purges_;
  mixer_.StopChannel(MixChannel::kSound);
}

uint64_t MixerSoundPlayer::Purges() {
  const std::lock_guard lock(play_mutex_);
  return purges_;
}

void MixerSoundPlayer::PlayMemory(std::span<const uint8_t> wave_image) {
  const uint64_t purges = Purges();
  // The clip is a copy, so the caller's image may go away while the sound plays.
  PlayClip(ConvertedImage(wave_image), purges);
}

bool MixerSoundPlayer::PlayMemoryAt(std::span<const uint8_t> wave_image, WallMoment start_at,
                                    std::optional<WallMoment> latest_start) {
  const uint64_t purges = Purges();
  auto clip = ConvertedImage(wave_image);
  if (clip) {
    // What lands on the moment is the first audible sample, not the file's quiet edge.
    PcmClip trimmed = *clip;
    TrimLeadIn(trimmed);
    clip = std::make_shared<const PcmClip>(std::move(trimmed));
  }
  return PlayClip(std::move(clip), purges, Placement{start_at, latest_start});
}

void MixerSoundPlayer::PlayBuiltIn() { PlayClip(chime_, Purges()); }

void MixerSoundPlayer::PlayFile(const std::string& path) {
  const uint64_t purges = Purges();
  auto clip = LoadWaveFile(path);
  PlayClip(clip ? std::make_shared<const PcmClip>(ConvertToMixRate(std::move(*clip))) : nullptr,
           purges);
}

bool MixerSoundPlayer::PlayFileAt(const std::string& path, WallMoment mark_at,
                                  std::optional<WallMoment> latest_start) {
  const uint64_t purges = Purges();
  const auto bytes = ReadRegularFile(path, FileKind::kSound);
  // A chime played every hour is converted once: decoding a long file at the mixer's rate
  // takes time the placement may not have.
  auto clip = bytes ? ConvertedImage(std::span(reinterpret_cast<const uint8_t*>(bytes->data()),
                                               bytes->size()))
                    : nullptr;
  if (!clip) return PlayClip(nullptr, purges, Placement{mark_at, latest_start});
  if (clip->mark_seconds) {
    const MarkedClip placed = PlaceOnMark(PcmClip{clip->sample_rate, clip->channels, {},
                                                  clip->mark_seconds},
                                          mark_at);
    return PlayClip(std::move(clip), purges, Placement{placed.start_at, latest_start});
  }
  MarkedClip placed = PlaceOnMark(*clip, mark_at);
  return PlayClip(std::make_shared<const PcmClip>(std::move(placed.clip)), purges,
                  Placement{placed.start_at, latest_start});
}

bool MixerSoundPlayer::PlayClip(std::shared_ptr<const PcmClip> clip, uint64_t purges,
                                std::optional<Placement> placement) {
  std::shared_ptr<MixerVoice> voice;
  {
    const std::lock_guard lock(play_mutex_);
    if (purges != purges_) return true;  // stopped while it was loading
    if (!clip) clip = chime_;
    voice = placement ? mixer_.PlayAt(MixChannel::kSound, std::move(clip), placement->start_at,
                                      1.0f, 1.0f, placement->latest_start)
                      : mixer_.Play(MixChannel::kSound, std::move(clip));
  }
  voice->Wait();
  return !voice->Dropped();
}

std::shared_ptr<const PcmClip> MixerSoundPlayer::ConvertedImage(
    std::span<const uint8_t> wave_image) {
  const uint64_t hash = HashBytes(wave_image);
  {
    const std::lock_guard lock(mutex_);
    for (const Converted& c : converted_) {
      if (c.size == wave_image.size() && c.hash == hash) return c.clip;
    }
  }
  auto clip = LoadClip(wave_image);
  if (!clip) return nullptr;
  const std::lock_guard lock(mutex_);
  converted_.push_front({wave_image.size(), hash, clip});
  if (converted_.size() > kKeptImages) converted_.pop_back();
  return clip;
}

}  // namespace chimewell
