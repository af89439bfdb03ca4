#include "chime_pieces.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "bell_voice.h"

namespace chimewell::chimes {
namespace {

using namespace note;

// The quarters' pace: a note every 0.7 s, a beat's rest between changes; the hour's first
// stroke comes 3 s after the last change, then one every 2 s.
constexpr double kQuarterBeat = 0.7;
constexpr double kStrokeLead = 3.0;
constexpr double kStrokeGap = 2.0;
// The school chime is slower, its fourth note of each phrase held twice as long.
constexpr double kSchoolBeat = 0.8;

// Played changes by quarter (1..4), as the clock towers ring them.
constexpr int kQuarterChanges[4][4] = {{1, 0, 0, 0}, {2, 3, 0, 0}, {4, 5, 1, 0}, {2, 3, 4, 5}};

// Scales to a common peak (-3 dBFS), ends the decay once it is 50 dB down and fades that last
// bit out, so a bell's long hum does not make a file of mostly inaudible tail.
void Finish(ChimePiece& piece) {
  constexpr double kPeak = 0.707;
  constexpr double kTail = kPeak * 0.00316;  // -50 dB
  constexpr double kFadeSeconds = 0.3;
  double peak = 0.0;
  for (double s : piece.samples) peak = std::max(peak, std::abs(s));
  if (peak <= 0.0) return;
  for (double& s : piece.samples) s *= kPeak / peak;
  const size_t whole = piece.samples.size();
  size_t end = whole;
  while (end > 0 && std::abs(piece.samples[end - 1]) < kTail) --end;
  piece.samples.resize(end);
  // A tone that ends by its own fade keeps it; only a cut decay is faded.
  if (whole - end < kChimeRate / 10) return;
  const auto fade = std::min(end, static_cast<size_t>(kFadeSeconds * kChimeRate));
  for (size_t i = 0; i < fade; ++i) {
    piece.samples[end - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
  }
}

// Rings the changes of `quarter` from `start`; returns when the last note has been struck.
double RingChanges(std::vector<double>& out, int quarter, double start) {
  double t = start;
  for (const int change : kQuarterChanges[quarter - 1]) {
    if (change == 0) break;
    for (const double f : kWestminsterChanges[change - 1]) {
      Strike(out, kChimeRate, t, f, 1.0, kChurchBell);
      t += kQuarterBeat;
    }
    t += kQuarterBeat;  // the rest between changes
  }
  return t - 2 * kQuarterBeat;
}

ChimePiece Pips() {
  ChimePiece piece{"pips", {}, 3.0};
  for (int i = 0; i < 3; ++i) Tone(piece.samples, kChimeRate, i, 0.1, 0.002, kA4, 0.8);
  Tone(piece.samples, kChimeRate, 3.0, 1.0, 2.0, 2 * kA4, 0.8);
  return piece;
}

ChimePiece Quarter(int quarter) {
  ChimePiece piece{"westminster-" + std::to_string(quarter), {}, 0.0};
  RingChanges(piece.samples, quarter, 0.0);
  return piece;
}

ChimePiece Hour(int strokes) {
  ChimePiece piece{"westminster-hour-" + std::to_string(strokes), {}, 0.0};
  const double last_note = RingChanges(piece.samples, 4, 0.0);
  piece.mark_seconds = last_note + kStrokeLead;
  for (int i = 0; i < strokes; ++i) {
    Strike(piece.samples, kChimeRate, piece.mark_seconds + i * kStrokeGap, kE3, 1.3, kChurchBell);
  }
  return piece;
}

ChimePiece School(const std::string& name, std::span<const double[4]> phrases) {
  ChimePiece piece{name, {}, 0.0};
  double t = 0.0;
  for (const auto& phrase : phrases) {
    for (int i = 0; i < 4; ++i) {
      Strike(piece.samples, kChimeRate, t, phrase[i], 1.0, kChimeBar);
      t += i == 3 ? 2 * kSchoolBeat : kSchoolBeat;
    }
  }
  return piece;
}

ChimePiece PlainTone(int frequency) {
  ChimePiece piece{"tone-" + std::to_string(frequency), {}, 0.0};
  Tone(piece.samples, kChimeRate, 0.0, 0.5, 0.05, frequency, 0.8);
  return piece;
}

ChimePiece DingDong(const std::string& name, double first, double second) {
  ChimePiece piece{name, {}, 0.0};
  Strike(piece.samples, kChimeRate, 0.0, first, 1.0, kChimeBar);
  Strike(piece.samples, kChimeRate, 0.6, second, 1.0, kChimeBar);
  return piece;
}

}  // namespace

const double kWestminsterChanges[5][4] = {
    {kGs4, kFs4, kE4, kB3}, {kE4, kGs4, kFs4, kB3}, {kE4, kFs4, kGs4, kE4},
    {kGs4, kE4, kFs4, kB3}, {kB3, kFs4, kGs4, kE4},
};

const double kSchoolPhrases[4][4] = {
    {kF4, kA4, kG4, kC4},
    {kF4, kG4, kA4, kF4},
    {kA4, kF4, kG4, kC4},
    {kC4, kG4, kA4, kF4},
};

std::vector<ChimePiece> AllChimePieces() {
  std::vector<ChimePiece> pieces;
  pieces.push_back(Pips());
  for (int q = 1; q <= 3; ++q) pieces.push_back(Quarter(q));
  for (int h = 1; h <= 12; ++h) pieces.push_back(Hour(h));
  pieces.push_back(School("school", kSchoolPhrases));
  pieces.push_back(School("school-end", std::span(kSchoolPhrases).subspan(2)));
  for (int f : {440, 880, 1000, 2000}) pieces.push_back(PlainTone(f));
  pieces.push_back(DingDong("ding-dong", kE4 * 2, kC4 * 2));
  pieces.push_back(DingDong("ding-dong-up", kC4 * 2, kE4 * 2));
  for (ChimePiece& piece : pieces) Finish(piece);
  return pieces;
}

}  // namespace chimewell::chimes
