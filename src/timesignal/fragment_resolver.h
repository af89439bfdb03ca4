#pragma once
// Composing one announcement, step two: the composed names become offsets of the voice image.
#include <cstdint>
#include <string>
#include <vector>

#include "timesignal/composition.h"
#include "timesignal/time_signal_settings.h"

namespace chimewell {

class FileSystem;

struct ResolvedFragments {
  std::vector<int32_t> fragments;  // kAbsentFragment for a file that is not there
  std::string report;              // every report line, in format order
  // The image the fragments point into: the preloaded one, or a fresh one layered on it when
  // the announcement read files of its own (type 2, [addoffN]).
  SharedVoiceImage image;
};

// Preloaded names are looked up in FragmentOffsets; type 2 files and AddOff files are read from
// disk now, and a missing one is reported.
ResolvedFragments ResolveFragments(const std::vector<ComposedItem>& items,
                                   const TimeSignalSettings& settings, const FileSystem& files);

}  // namespace chimewell
