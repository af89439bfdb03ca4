#pragma once
// Where a sound file starts so that the moment it marks is heard on time: its cue point, or
// without one its first audible sample (the quiet edge before it is cut off).
#include "core/moments.h"
#include "platform/pcm_clip.h"

namespace chimewell {

struct MarkedClip {
  PcmClip clip;         // as it is to be played
  WallMoment start_at;  // where its first sample goes
};

MarkedClip PlaceOnMark(PcmClip clip, WallMoment mark_at);

}  // namespace chimewell
