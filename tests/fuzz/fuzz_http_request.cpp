// libFuzzer target: any bytes as a request, read in pieces of varying size, under small limits.
#include <cstddef>
#include <cstdint>
#include <string>

#include "web/buffered_reader.h"
#include "web/http_request_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t chunk = 1 + data[0] % 32;
  chimewell::StringByteSource source(std::string(reinterpret_cast<const char*>(data) + 1, size - 1),
                                     chunk);
  chimewell::BufferedReader reader(source);
  chimewell::HttpLimits limits;
  limits.max_line_bytes = 256;
  limits.max_header_bytes = 1024;
  limits.max_body_bytes = 512;
  chimewell::ReadHttpRequest(reader, limits, "127.0.0.1");
  return 0;
}
