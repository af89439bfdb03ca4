// libFuzzer target: any bytes as a page template and a list of placeholder values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/html_escape.h"
#include "support/memory_file_system.h"
#include "web/page_render.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  FuzzedDataProvider input(data, size);
  ReplacementList list;
  const int count = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < count; ++i) {
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string value = input.ConsumeRandomLengthString(64);
    if (input.ConsumeBool()) {
      list.Add(key, HtmlEscape(value));
    } else {
      list.AddLine(key + value);
    }
  }
  testing::MemoryFileSystem files;
  files.Add("page.html", input.ConsumeRemainingBytesAsString());
  RenderPage(files, "page.html", list);
  return 0;
}
