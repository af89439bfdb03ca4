#pragma once
// A struck bell or chime bar as a sum of decaying sine partials: a bell's are inharmonic (hum,
// prime, tierce, quint, nominal and a few above), a chime bar's close to harmonic.
#include <span>
#include <vector>

namespace chimewell::chimes {

struct Partial {
  double ratio;  // to the note's frequency (the prime)
  double level;
  double decay_seconds;  // time to fall to 1/e
};

// A church bell tuned as the English ring bells are: hum an octave below, a minor-third tierce.
extern const std::vector<Partial> kChurchBell;
// The chimes of a school's speaker: a mellow bar, nearly harmonic.
extern const std::vector<Partial> kChimeBar;

// Adds one strike of `frequency` Hz at `start` seconds into `out` (mono, `rate` Hz), scaled by
// `gain`; partials at or above the Nyquist frequency are left out.
void Strike(std::vector<double>& out, int rate, double start, double frequency, double gain,
            std::span<const Partial> partials);

// A plain sine of `frequency` Hz from `start`: a 1 ms rise (so that it does not click, and
// its onset is still sharp), `hold` seconds at full level, then a fall to silence over `fade`.
void Tone(std::vector<double>& out, int rate, double start, double hold, double fade,
          double frequency, double gain);

}  // namespace chimewell::chimes
