#pragma once
// A stand-in for the Open JTalk program: the real one, started only after a delay per
// synthesis (a loaded machine), and never finishing a line that contains a marker (a hung
// engine).
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "platform/audio_test_support.h"

namespace chimewell::testing {

inline constexpr const char* kHangMarker = "固まる";

// Writes the script and returns its path (removed by the caller).
inline std::string WriteSlowEngine(const std::string& name, double delay_seconds) {
  const std::string path = TempPath(name);
  std::ofstream(path) << "#!/bin/bash\n"
                         "IFS= read -r line\n"
                         "case \"$line\" in *"
                      << kHangMarker << "*) exec sleep 600;; esac\n"
                      << "sleep " << delay_seconds << "\n"
                      << "exec open_jtalk \"$@\" <<< \"$line\"\n";
  ::chmod(path.c_str(), 0755);
  return path;
}

}  // namespace chimewell::testing
