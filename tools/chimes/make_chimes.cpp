// Writes the built-in chimes as WAVE files into each folder named on the command line. Each
// file carries one cue point, named "mark", at the moment it is scheduled for.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "chime_pieces.h"
#include "schedule/builtin_chimes.h"

namespace chimewell::chimes {
namespace {

bool WritePiece(const ChimePiece& piece, const std::filesystem::path& folder) {
  const std::string path = (folder / (piece.name + std::string(kChimeExtension))).string();
  SF_INFO info{};
  info.samplerate = kChimeRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "make-chimes: cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
    return false;
  }
  SF_CUES cues{};
  cues.cue_count = 1;
  SF_CUE_POINT& mark = cues.cue_points[0];
  mark.indx = 1;
  mark.position = static_cast<uint32_t>(std::lround(piece.mark_seconds * kChimeRate));
  std::memcpy(&mark.fcc_chunk, "data", 4);
  mark.sample_offset = mark.position;
  std::snprintf(mark.name, sizeof mark.name, "mark");
  sf_command(file, SFC_SET_CUE, &cues, sizeof cues);
  // Full scale is 1.0 in and out; libsndfile rounds to 16 bits.
  sf_command(file, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
  const auto frames = static_cast<sf_count_t>(piece.samples.size());
  const bool written = sf_writef_double(file, piece.samples.data(), frames) == frames;
  if (!written) std::fprintf(stderr, "make-chimes: %s: %s\n", path.c_str(), sf_strerror(file));
  sf_close(file);
  return written;
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make-chimes FOLDER...\n");
    return 2;
  }
  const std::vector<ChimePiece> pieces = AllChimePieces();
  if (pieces.size() != kBuiltInChimes.size()) {
    std::fprintf(stderr, "make-chimes: %zu pieces for %zu catalogue names\n", pieces.size(),
                 kBuiltInChimes.size());
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    std::filesystem::create_directories(argv[i]);
    for (size_t k = 0; k < pieces.size(); ++k) {
      if (pieces[k].name != kBuiltInChimes[k].name) {
        std::fprintf(stderr, "make-chimes: %s is not %s\n", pieces[k].name.c_str(),
                     std::string(kBuiltInChimes[k].name).c_str());
        return 1;
      }
      if (!WritePiece(pieces[k], argv[i])) return 1;
    }
  }
  return 0;
}

}  // namespace
}  // namespace chimewell::chimes

int main(int argc, char** argv) {
  try {
    return chimewell::chimes::Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-chimes: %s\n", e.what());
    return 1;
  }
}
