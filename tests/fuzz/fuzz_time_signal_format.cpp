// libFuzzer target: any bytes as a time-signal format, composed for every voice type (type 0 is
// the speech expansion) at a moment the input chooses.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/speech_text.h"
#include "timesignal/composition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  FuzzedDataProvider input(data, size);
  const int type = input.ConsumeIntegralInRange(0, 6);
  const int variant = input.ConsumeIntegralInRange(0, 3);
  // Any moment from year 1 to 9999, the range the clock and the test form can produce.
  const TDateTime moment = input.ConsumeFloatingPointInRange(-693593.0, 2958465.99);
  const std::string format = input.ConsumeRemainingBytesAsString();
  if (type == 0) {
    ExpandSpeechText(format, moment);
    ExpandDefaultToken(format, "[hour][min]");
    return 0;
  }
  ComposeFragments(ComposeRequest{type, variant, format, moment});
  ComposeFragments(ComposeRequest{type, variant, DefaultFormat(type, variant), moment});
  return 0;
}
