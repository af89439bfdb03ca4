#pragma once
// The built-in chimes as sample buffers: what each plays, and where its mark lies (the moment
// it is scheduled for: the 880 Hz tone of the pips, the hour's first stroke, else the start).
#include <string>
#include <vector>

namespace chimewell::chimes {

inline constexpr int kChimeRate = 16000;

struct ChimePiece {
  std::string name;             // as in the catalogue (schedule/builtin_chimes.h)
  std::vector<double> samples;  // mono, full scale 1.0
  double mark_seconds = 0.0;
};

// Every chime of the catalogue, in its order.
std::vector<ChimePiece> AllChimePieces();

// Equal-tempered frequencies (A4 = 440 Hz) of the notes the chimes use.
namespace note {
inline constexpr double kE3 = 164.814;
inline constexpr double kB3 = 246.942;
inline constexpr double kC4 = 261.626;
inline constexpr double kE4 = 329.628;
inline constexpr double kF4 = 349.228;
inline constexpr double kFs4 = 369.994;
inline constexpr double kG4 = 391.995;
inline constexpr double kGs4 = 415.305;
inline constexpr double kA4 = 440.0;
}  // namespace note

// The five changes of the Westminster quarters in E major, four notes each.
extern const double kWestminsterChanges[5][4];
// The school chime in F: four phrases of four notes.
extern const double kSchoolPhrases[4][4];

}  // namespace chimewell::chimes
