#pragma once
// The chime a scheduled time signal plays first: which file, where its mark lies (on the
// moment announced) and how long it goes on after the mark, so the spoken time can follow.
#include <chrono>
#include <optional>
#include <string>

#include "core/moments.h"
#include "core/settings.h"
#include "schedule/sound_names.h"

namespace chimewell {

struct SignalChime {
  std::string path;
  std::chrono::milliseconds mark{0};        // from the file's start
  std::chrono::milliseconds after_mark{0};  // from the mark to the file's end
  bool instead = false;                     // the chime alone, no spoken time
};

// None when the settings name no chime or its file cannot be played.
std::optional<SignalChime> LoadSignalChime(const JihoSettings& jiho, const SoundNames& files);

// Where the spoken time starts after a chime whose mark is heard at `mark_at`: once the file
// has ended and the message worker has rested after it.
WallMoment SpokenTimeAfter(const SignalChime& chime, WallMoment mark_at);

}  // namespace chimewell
