// libFuzzer target: any bytes as a text the clock speaks, rewritten by the reading rules. They
// end on any input (malformed UTF-8, lone bytes, runs of digits and marks), keep well-formed
// text well-formed, and never make a text much longer than it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/speech_readings.h"
#include "core/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // A rule writes at most a few words for the marks and digits it reads (~ as から and まで).
  constexpr size_t kMostGrowth = 8, kMostAdded = 64;
  for (const std::string& text : {bytes, ToValidUtf8(bytes)}) {
    const std::string read = ApplySpeechReadings(text);
    if (read.size() > text.size() * kMostGrowth + kMostAdded) std::abort();
    if (IsValidUtf8(text) && !IsValidUtf8(read)) std::abort();
  }
  return 0;
}
