#include "schedule/schedule_entry.h"

namespace chimewell {

std::string_view CommandName(TCommandType cmd) {
  switch (cmd) {
    case ctSpeak:
      return "ctSpeak";
    case ctTime:
      return "ctTime";
    case ctWave:
      return "ctWave";
    case ctMidi:
      return "ctMidi";
  }
  return "?";
}

std::string_view ModeName(TIntervalMode mode) {
  switch (mode) {
    case imAt:
      return "imAt";
    case imSkip:
      return "imSkip";
    case imRegular:
      return "imRegular";
    case imBGM:
      return "imBGM";
  }
  return "?";
}

}  // namespace chimewell
