#include "bell_voice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace chimewell::chimes {
namespace {

// How long a strike is computed: its partials have died away by then.
constexpr double kDecayLengths = 7.0;
// A struck bell does not start at full swing at once: a short rise avoids a click.
constexpr double kAttackSeconds = 0.004;

void Grow(std::vector<double>& out, size_t frames) {
  if (out.size() < frames) out.resize(frames, 0.0);
}

}  // namespace

const std::vector<Partial> kChurchBell = {
    {0.5, 0.35, 3.0},    // hum
    {1.0, 0.45, 2.6},    // prime (the strike note)
    {1.183, 0.30, 1.8},  // tierce: a little flat of a minor third
    {1.506, 0.18, 1.4},  // quint
    {2.0, 0.55, 1.2},    // nominal
    {2.514, 0.12, 0.7},  // superquint
    {2.662, 0.08, 0.6},  // octave nominal
};

const std::vector<Partial> kChimeBar = {
    {1.0, 0.70, 1.6},
    {2.0, 0.18, 0.8},
    {3.0, 0.08, 0.5},
    {4.07, 0.04, 0.3},
};

void Strike(std::vector<double>& out, int rate, double start, double frequency, double gain,
            std::span<const Partial> partials) {
  const double longest =
      std::max_element(partials.begin(), partials.end(), [](const Partial& a, const Partial& b) {
        return a.decay_seconds < b.decay_seconds;
      })->decay_seconds;
  const auto first = static_cast<size_t>(std::lround(start * rate));
  const auto count = static_cast<size_t>(longest * kDecayLengths * rate);
  Grow(out, first + count);
  for (const Partial& p : partials) {
    const double f = frequency * p.ratio;
    if (f >= rate / 2.0) continue;
    const double step = 2.0 * std::numbers::pi * f / rate;
    const double fall = std::exp(-1.0 / (p.decay_seconds * rate));
    double envelope = gain * p.level;
    for (size_t i = 0; i < count; ++i) {
      const double t = static_cast<double>(i) / rate;
      const double rise = std::min(1.0, t / kAttackSeconds);
      out[first + i] += envelope * rise * std::sin(step * static_cast<double>(i));
      envelope *= fall;
    }
  }
}

void Tone(std::vector<double>& out, int rate, double start, double hold, double fade,
          double frequency, double gain) {
  constexpr double kRiseSeconds = 0.001;
  const auto first = static_cast<size_t>(std::lround(start * rate));
  const auto count = static_cast<size_t>(std::lround((hold + fade) * rate));
  Grow(out, first + count);
  const double step = 2.0 * std::numbers::pi * frequency / rate;
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double rise = std::min(1.0, t / kRiseSeconds);
    // A raised-cosine fall: no corner at either end.
    const double into_fade = std::clamp((t - hold) / fade, 0.0, 1.0);
    const double fall = 0.5 * (1.0 + std::cos(std::numbers::pi * into_fade));
    out[first + i] += gain * rise * fall * std::sin(step * static_cast<double>(i));
  }
}

}  // namespace chimewell::chimes
