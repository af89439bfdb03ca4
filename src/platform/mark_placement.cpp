#include "platform/mark_placement.h"

#include <cmath>

#include "platform/lead_in.h"

namespace chimewell {

MarkedClip PlaceOnMark(PcmClip clip, WallMoment mark_at) {
  if (!clip.mark_seconds) {
    TrimLeadIn(clip);
    return {std::move(clip), mark_at};
  }
  const auto lead = std::chrono::microseconds(std::llround(*clip.mark_seconds * 1e6));
  return {std::move(clip), mark_at - lead};
}

}  // namespace chimewell
