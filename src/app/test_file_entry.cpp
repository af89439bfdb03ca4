#include "app/test_file_entry.h"

namespace chimewell {

TSchedule TestFileEntry(const std::string& path, TCommandType kind, int volume) {
  TSchedule entry;
  entry.Msg = path;
  entry.Cmd = kind;
  entry.Mode = imAt;
  entry.RepeatCount = 1;
  entry.Volume = volume;
  return entry;
}

}  // namespace chimewell
