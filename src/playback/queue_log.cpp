#include "playback/queue_log.h"

#include <algorithm>

#include "playback/playback_texts.h"

namespace chimewell {

namespace {

std::string Head(std::string_view prefix, const std::string& what, const int32_t* volume) {
  std::string line(prefix);
  line += what;
  if (volume != nullptr) {
    line += playback_texts::kVolumeLabel;
    line += std::to_string(*volume);
  }
  return line;
}

}  // namespace

int32_t ClampVolume(int32_t volume) { return std::clamp(volume, 0, 100); }

std::string QueueLineUntil(std::string_view prefix, const std::string& what, const int32_t* volume,
                           TDateTime end_time) {
  return Head(prefix, what, volume) + std::string(playback_texts::kEndTimeLabel) +
         FormatDateTime(playback_texts::kEndTimePattern, end_time);
}

std::string QueueLineCount(std::string_view prefix, const std::string& what, const int32_t* volume,
                           std::string_view label, int32_t count) {
  return Head(prefix, what, volume) + std::string(label) + std::to_string(count);
}

}  // namespace chimewell
