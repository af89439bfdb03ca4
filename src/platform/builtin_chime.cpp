#include "platform/builtin_chime.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/wave_file.h"

namespace chimewell {
namespace {

// A struck bell: a fundamental with two inharmonic partials that die away faster, a 2 ms
// attack so it does not click, and a fade over the last 10 ms so it ends at rest.
std::vector<uint8_t> MakeChime() {
  constexpr double kFundamental = 1318.5;  // E6
  constexpr struct {
    double ratio, level, decay;
  } kPartials[] = {{1.0, 0.55, 18.0}, {2.76, 0.25, 30.0}, {5.40, 0.12, 45.0}};
  constexpr uint32_t kRate = kBuiltInChimeRate;
  constexpr uint32_t kCount = kBuiltInChimeSamples;
  constexpr double kAttack = 0.002 * kRate;
  constexpr double kFade = 0.010 * kRate;

  std::vector<uint8_t> out = WaveHeader(kRate, 1, kCount, 8);
  out.reserve(out.size() + kCount + 1);
  for (uint32_t i = 0; i < kCount; ++i) {
    const double t = static_cast<double>(i) / kRate;
    double v = 0.0;
    for (const auto& p : kPartials) {
      v += p.level * std::exp(-p.decay * t) *
           std::sin(2.0 * std::numbers::pi * kFundamental * p.ratio * t);
    }
    v *= std::min(1.0, i / kAttack) * std::min(1.0, (kCount - 1 - i) / kFade);
    const long s = std::lround(128.0 + 127.0 * v);
    out.push_back(static_cast<uint8_t>(std::clamp(s, 0L, 255L)));
  }
  if (kCount & 1) out.push_back(0);  // chunks are padded to an even length
  return out;
}

}  // namespace

std::span<const uint8_t> BuiltInChimeImage() {
  static const std::vector<uint8_t> image = MakeChime();
  return image;
}

}  // namespace chimewell
