#include "app/signal_chime.h"

#include <cmath>
#include <span>

#include "platform/wave_file.h"

namespace chimewell {

std::optional<SignalChime> LoadSignalChime(const JihoSettings& jiho, const SoundNames& files) {
  if (jiho.Chime.empty()) return std::nullopt;
  SignalChime chime;
  chime.path = files.Resolve(jiho.Chime);
  const auto bytes = files.ReadFile(chime.path, FileKind::kSound);
  if (!bytes) return std::nullopt;
  const auto clip =
      ParseWave(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()));
  if (!clip) return std::nullopt;
  const double mark = clip->mark_seconds.value_or(0.0);
  chime.mark = std::chrono::milliseconds(std::lround(mark * 1000));
  chime.after_mark = std::chrono::milliseconds(std::lround((clip->Seconds() - mark) * 1000));
  chime.instead = jiho.ChimeMode == 1;
  return chime;
}

WallMoment SpokenTimeAfter(const SignalChime& chime, WallMoment mark_at) {
  // The worker rests a second after each sound file; a little more keeps the two apart.
  constexpr std::chrono::milliseconds kRestAfterSound{1200};
  return mark_at + chime.after_mark + kRestAfterSound;
}

}  // namespace chimewell
