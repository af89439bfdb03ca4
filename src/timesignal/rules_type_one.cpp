// Voice type 1: Japanese words, one file per digit and per minute word.
#include <array>

#include "timesignal/compose_rules.h"

namespace chimewell::compose {
namespace {

constexpr std::array<const char*, 10> kDigits = {nullptr,    "ITI.WAV", "NI.WAV",   "SAN.WAV",
                                                 "YON.WAV",  "GO.WAV",  "ROKU.WAV", "SITI.WAV",
                                                 "HATI.WAV", "KU.WAV"};
constexpr std::array<const char*, 10> kMinuteWords = {
    nullptr,     "IPPUN.WAV",  "NIHUN.WAV",   "SANHUN.WAV",  "YONHUN.WAV",
    "GOHUN.WAV", "ROPPUN.WAV", "NANAHUN.WAV", "HATIHUN.WAV", "KYUUHUN.WAV"};
constexpr std::array<const char*, 4> kEndings = {"DA.WAV", "DESU.WAV", "YADE.WAV", "YO.WAV"};

void Digit(int n, Names& out) {
  if (n % 10 != 0) out.push_back(kDigits[n % 10]);
}

void Hour(int v, Names& out) {
  if (v == 0) {
    out.push_back("REI.WAV");
  } else {
    if (v >= 20) out.push_back("NI.WAV");
    if (v >= 10) out.push_back("JYUU.WAV");
    Digit(v, out);
  }
  out.push_back("JI.WAV");
}

void Minute(int m, Names& out) {
  if (m == 0) return;
  if (m >= 10) {
    if (m / 10 >= 2) Digit(m / 10, out);
    out.push_back(m % 10 == 0 ? "JYUPPUN.WAV" : "JYUU.WAV");
  }
  if (m % 10 != 0) out.push_back(kMinuteWords[m % 10]);
}

void Second(int s, Names& out) {
  if (s / 10 >= 2) Digit(s / 10, out);
  if (s >= 10) out.push_back("JYUU.WAV");
  Digit(s, out);
}

}  // namespace

bool TypeOneToken(const TokenContext& c, std::string_view token, std::string_view lower,
                  Names& out) {
  // A token written in lower case is always spoken; other spellings follow the case rule.
  const bool exact = token == lower;
  const int hour = c.time.hour;
  if (lower == "ampm") {
    if (exact || (!c.seconds_spoken && !c.minutes_spoken)) {
      out.push_back(hour >= 12 ? "GOGO.WAV" : "GOZEN.WAV");
    }
  } else if (lower == "hour" || lower == "hh24") {
    if (exact || (!c.seconds_spoken && !c.odd_minutes_spoken)) {
      Hour(lower == "hh24" ? hour : (hour == 12 ? 12 : hour % 12), out);
    }
  } else if (lower == "min") {
    if (exact || !c.seconds_spoken) Minute(c.time.minute, out);
  } else if (lower == "sec") {
    Second(c.time.second, out);
  } else if (const auto n = TokenNumber(lower, "opt"); n && *n >= 1 && *n <= 4) {
    out.push_back(kEndings[*n - 1]);
  } else {
    return false;
  }
  return true;
}

}  // namespace chimewell::compose
