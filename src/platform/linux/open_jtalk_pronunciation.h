#pragma once
// How Open JTalk pronounces texts, read from the analysis trace it writes beside the sound.
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/open_jtalk_setup.h"

namespace chimewell {

struct SpokenWord {
  std::string written;        // as the engine split the text (digits turned full-width)
  std::string pronunciation;  // katakana, long vowels as ー, without the devoicing mark
};

// The words of each of `texts` as the engine of `setup` reads them, one list per text whatever
// it holds (an empty one for a text with nothing to say). Several texts share one engine run,
// told apart by the full stops after them; a run the engine did not split at every one of
// them is read again text by text. Runs go side by side on every core. nullopt, with `*error`
// set, when the engine cannot be run or its trace cannot be read.
std::optional<std::vector<std::vector<SpokenWord>>> ReadPronunciations(
    const OpenJTalkSetup& setup, const std::vector<std::string>& texts, std::string* error);

// The pronunciation of `words` run together, without the pauses.
std::string PronunciationText(const std::vector<SpokenWord>& words);

}  // namespace chimewell
