// libFuzzer target: any bytes as the parameter text of a request, decoded and looked up.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "web/param_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  const std::string_view unparsed(reinterpret_cast<const char*>(data), size);
  const auto params = DecodeParams(unparsed);
  // Decoding never makes text: every line is at most as long as its piece.
  size_t decoded = 0;
  for (const auto& line : params) decoded += line.size();
  if (decoded > size) __builtin_trap();
  // Look up the first line's own name and a few the page uses.
  if (!params.empty()) {
    const std::string_view first = params[0];
    GetParam(params, first.substr(0, first.find('=')));
  }
  for (const char* name : {"SCHEADD", "contents", "a", ""}) GetParam(params, name);
  return 0;
}
