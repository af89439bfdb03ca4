// libFuzzer target: any bytes as a settings file; every value read back, one key rewritten.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace chimewell;
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(16);
  const std::string key = input.ConsumeRandomLengthString(16);
  const std::string value = input.ConsumeRandomLengthString(64);
  IniFile file = IniFile::FromBytes("fuzz.ini", input.ConsumeRemainingBytesAsString());
  file.ReadString(section, key, "default");
  file.ReadInteger(section, key, 7);
  file.ReadBool(section, key, true);
  for (const char* name : {"PortNumber", "Folder", "Type", "HHMM1Color"}) {
    file.ReadString("Config", name, "");
    file.ReadInteger("App", name, 0);
  }
  // What is written reads back as written, line breaks aside.
  file.WriteString(section, key, value);
  if (!section.empty() && !key.empty() && section.find_first_of("]\r\n\0", 0, 4) == std::string::npos &&
      key.find_first_of("=\r\n\0", 0, 4) == std::string::npos) {
    file.ReadString(section, key, "");
  }
  return 0;
}
