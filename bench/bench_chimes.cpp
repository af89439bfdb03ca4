// The built-in chimes as the build made them, measured from their files: every note's pitch
// and the bell's partials found by a zoomed Fourier transform (a Hann-windowed DFT searched to
// a thousandth of a hertz), against equal temperament (A4 = 440 Hz) and the partial ratios of
// a tuned bell. Figures: the largest pitch error in Hz and the largest partial-ratio error in %.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "platform/wave_file.h"

namespace chimewell {
namespace {

struct Sound {
  std::vector<double> x;
  int rate = 0;
  double mark = 0;
};

Sound Load(const std::string& name) {
  const auto clip = LoadWaveFile(std::string(CHIMEWELL_CHIMES) + "/" + name + ".wav");
  Sound s;
  if (!clip) return s;
  s.rate = clip->sample_rate;
  s.mark = clip->mark_seconds.value_or(0);
  for (const int16_t v : clip->samples) s.x.push_back(v / 32768.0);
  return s;
}

double Midi(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// |DFT| of the Hann-windowed stretch at frequency f.
double Magnitude(const Sound& s, size_t start, size_t length, double f) {
  double re = 0, im = 0;
  const double w = 2 * std::numbers::pi * f / s.rate;
  for (size_t i = 0; i < length && start + i < s.x.size(); ++i) {
    const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (length - 1));
    re += s.x[start + i] * hann * std::cos(w * i);
    im -= s.x[start + i] * hann * std::sin(w * i);
  }
  return std::hypot(re, im);
}

// The spectral peak within `span` Hz of `guess`: a coarse scan, then a golden-section search.
double PeakNear(const Sound& s, double from_seconds, double seconds, double guess, double span) {
  const auto start = static_cast<size_t>(from_seconds * s.rate);
  const auto length = static_cast<size_t>(seconds * s.rate);
  double best = guess, best_mag = -1;
  for (double f = guess - span; f <= guess + span; f += 0.25) {
    const double m = Magnitude(s, start, length, f);
    if (m > best_mag) best_mag = m, best = f;
  }
  double a = best - 0.25, b = best + 0.25;
  const double g = (std::sqrt(5.0) - 1) / 2;
  while (b - a > 1e-4) {
    const double c = b - g * (b - a), d = a + g * (b - a);
    if (Magnitude(s, start, length, c) > Magnitude(s, start, length, d)) {
      b = d;
    } else {
      a = c;
    }
  }
  return (a + b) / 2;
}

struct Figures {
  double pitch_error = 0;             // Hz, of notes sounding alone
  double pitch_error_in_context = 0;  // Hz, of notes struck while others ring
  double ratio_error = 0;             // %
  int notes = 0;
};

// The notes of a file struck at `onsets` (seconds). The first note sounds alone; every later
// one is measured while the notes before it still ring, whose partials (a bell's quint lies
// 2 Hz from the next bell's prime) pull its peak a little.
void CheckNotes(Figures& fig, const std::string& name, const std::vector<int>& notes,
                const std::vector<double>& onsets) {
  const Sound s = Load(name);
  for (size_t i = 0; i < notes.size() && i < onsets.size(); ++i) {
    const double want = Midi(notes[i]);
    const double got = PeakNear(s, onsets[i] + 0.02, 2.0, want, 4.0);
    double& error = i == 0 ? fig.pitch_error : fig.pitch_error_in_context;
    error = std::max(error, std::abs(got - want));
    ++fig.notes;
  }
}

// Onsets of notes struck every `beat` seconds, the fifth, ninth and so on a beat later (after a
// rest, or a fourth note held twice as long).
std::vector<double> Beats(size_t count, double beat) {
  std::vector<double> onsets;
  double t = 0;
  for (size_t i = 0; i < count; ++i) {
    onsets.push_back(t);
    t += beat;
    if (i % 4 == 3) t += beat;
  }
  return onsets;
}

Figures Measure() {
  Figures fig;
  // The pips: three of 440 Hz, then 880 Hz on the mark.
  const Sound pips = Load("pips");
  for (int i = 0; i < 3; ++i) {
    fig.pitch_error = std::max(fig.pitch_error, std::abs(PeakNear(pips, i, 0.1, 440, 6) - 440));
  }
  fig.pitch_error =
      std::max(fig.pitch_error, std::abs(PeakNear(pips, pips.mark, 1.0, 880, 6) - 880));
  fig.notes += 4;
  // The Westminster changes (B3 E4 F#4 G#4) rung for the hour (a note every 0.7 s, a beat's
  // rest between changes), then its stroke on E3 on the mark.
  const int b = 59, e = 64, fs = 66, gs = 68;
  const std::vector<int> hour = {e, gs, fs, b, e, fs, gs, e, gs, e, fs, b, b, fs, gs, e};
  CheckNotes(fig, "westminster-hour-1", hour, Beats(hour.size(), 0.7));
  CheckNotes(fig, "westminster-1", {gs, fs, e, b}, Beats(4, 0.7));
  CheckNotes(fig, "westminster-2", {e, gs, fs, b, e, fs, gs, e}, Beats(8, 0.7));
  CheckNotes(fig, "westminster-3", {gs, e, fs, b, b, fs, gs, e, gs, fs, e, b}, Beats(12, 0.7));
  // The school chime in F (a note every 0.8 s, the fourth of each phrase held twice as long),
  // and its last eight notes.
  const int f = 65, a = 69, g = 67, c = 60;
  const std::vector<int> school = {f, a, g, c, f, g, a, f, a, f, g, c, c, g, a, f};
  CheckNotes(fig, "school", school, Beats(school.size(), 0.8));
  CheckNotes(fig, "school-end", std::vector<int>(school.begin() + 8, school.end()), Beats(8, 0.8));
  // The hour stroke's partials against the prime: hum, tierce, quint, nominal.
  const Sound stroke = Load("westminster-hour-1");
  const double prime = PeakNear(stroke, stroke.mark + 0.02, 1.5, Midi(52), 4);
  fig.pitch_error = std::max(fig.pitch_error, std::abs(prime - Midi(52)));
  for (const double ratio : {0.5, 1.183, 1.506, 2.0}) {
    const double got = PeakNear(stroke, stroke.mark + 0.02, 1.5, Midi(52) * ratio, 4) / prime;
    fig.ratio_error = std::max(fig.ratio_error, 100 * std::abs(got - ratio) / ratio);
  }
  return fig;
}

void BM_ChimeSpectra(benchmark::State& state) {
  Figures fig;
  for (auto _ : state) fig = Measure();
  state.counters["notes"] = fig.notes;
  state.counters["max_pitch_error_hz"] = fig.pitch_error;
  state.counters["max_pitch_error_in_context_hz"] = fig.pitch_error_in_context;
  state.counters["max_partial_ratio_error_pct"] = fig.ratio_error;
}
BENCHMARK(BM_ChimeSpectra)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace chimewell
