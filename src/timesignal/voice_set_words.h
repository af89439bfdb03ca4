#pragma once
// What each file of a voice set says, so a complete set can be made with the speech engine.
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

struct VoiceFileContent {
  enum class Kind { kSpeech, kTone, kSilence };
  Kind kind = Kind::kSpeech;
  std::string text;                 // kSpeech: what to say, in katakana or plain Japanese
  std::vector<double> frequencies;  // kTone: sine waves sounding together (two for DTMF)
  double seconds = 0;               // kTone, kSilence: length
};

// The content of `name` in the set of voice type 1..5 (the type 2 names included). Type 3 is an
// English-word set spoken in katakana (ワン, オクロック).
VoiceFileContent VoiceFileContentFor(int type, std::string_view name);

// Every file name of the set of `type`, in list order (type 2: every name it may ask for).
std::vector<std::string> VoiceSetNames(int type);

}  // namespace chimewell
