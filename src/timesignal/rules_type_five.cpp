// Voice type 5: hour and minute words with their own files for the round minutes.
#include <string>

#include "timesignal/compose_rules.h"

namespace chimewell::compose {
namespace {

void Minute(int m, Names& out) {
  switch (m) {
    case 0:
      return;
    case 10:
      out.push_back("M10.WAV");
      return;
    case 20:
      out.push_back("M20.WAV");
      return;
    case 22:
      out.push_back("M22.WAV");
      return;
    case 30:
      out.push_back("HAN.WAV");
      return;
    case 40:
      out.push_back("M40.WAV");
      return;
    case 50:
      out.push_back("M50.WAV");
      return;
    default:
      break;
  }
  if (m > 10) out.push_back(Concat({"TM", std::to_string(m / 10 * 10), ".WAV"}));
  out.push_back(Concat({"M", std::to_string(m % 10), ".WAV"}));
}

}  // namespace

bool TypeFiveToken(const TokenContext& c, std::string_view lower, Names& out) {
  const int hour = c.time.hour;
  if (lower == "ampm") {
    out.push_back(hour >= 12 ? "PM.WAV" : "AM.WAV");
  } else if (lower == "hour") {
    out.push_back(Concat({"o", TwoDigits(hour % 12 == 0 ? 12 : hour % 12), ".WAV"}));
  } else if (lower == "min") {
    Minute(c.time.minute, out);
  } else if (const auto n = TokenNumber(lower, "opt"); n && *n >= 1 && *n <= 5) {
    out.push_back(Concat({"L_", std::to_string(*n - 1), ".WAV"}));
  } else {
    return false;
  }
  return true;
}

}  // namespace chimewell::compose
