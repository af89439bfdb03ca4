// Voice type 4: Japanese words by tens, with chimes and tones.
#include <array>
#include <string>

#include "timesignal/compose_rules.h"

namespace chimewell::compose {
namespace {

constexpr std::array<const char*, 7> kOptions = {
    "DTMF1.wav", "DTMF7.wav", "tadaima.wav", "oshirase.wav", "pi.wav", "pon.wav", "ti.wav"};

std::string Tens(int tens, const char* suffix) { return std::to_string(tens * 10) + suffix; }

void Minute(int m, Names& out) {
  if (m == 0) {
    out.push_back("tyoudo.wav");
  } else if (m % 10 == 0) {
    out.push_back(Tens(m / 10, "fun.wav"));
  } else {
    if (m >= 10) out.push_back(Tens(m / 10, ".wav"));
    out.push_back(TwoDigits(m % 10) + "fun.wav");
  }
}

}  // namespace

bool TypeFourToken(const TokenContext& c, std::string_view token, std::string_view lower,
                   Names& out) {
  const bool exact = token == lower;
  const int hour = c.time.hour;
  if (lower == "ampm") {
    if (exact || (!c.seconds_spoken && !c.minutes_spoken)) {
      out.push_back(hour >= 12 ? "gogo.wav" : "gozen.wav");
    }
  } else if (lower == "hour" || lower == "hh24") {
    // This set has twelve-hour words only, so [hh24] speaks them too.
    if (exact || (!c.seconds_spoken && !c.odd_minutes_spoken)) {
      out.push_back(hour % 12 == 0 ? "12ji.wav" : TwoDigits(hour % 12) + "ji.wav");
    }
  } else if (lower == "min") {
    Minute(c.time.minute, out);
  } else if (lower == "sec") {
    if (c.time.second >= 10) out.push_back(Tens(c.time.second / 10, "byo.wav"));
  } else if (const auto n = TokenNumber(lower, "opt"); n && *n >= 1 && *n <= 7) {
    out.push_back(kOptions[*n - 1]);
  } else {
    return false;
  }
  return true;
}

}  // namespace chimewell::compose
