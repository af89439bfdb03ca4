// Voice type 3: English words; its variants suit differently recorded sets.
#include <string>

#include "timesignal/compose_rules.h"

namespace chimewell::compose {
namespace {

std::string Number(int n) { return TwoDigits(n) + ".WAV"; }          // "00.WAV" .. "21.WAV"
std::string MinuteWord(int n) { return TwoDigits(n) + "M.WAV"; }     // "00M.WAV" .. "19M.WAV"
std::string Tens(int t) { return std::to_string(t * 10) + ".WAV"; }  // "10.WAV" .. "50.WAV"

int TwelveHour(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }

std::string MorningOrAfternoon(int hour) {
  if (hour == 4) return "024AM.WAV";
  return TwoDigits(TwelveHour(hour)) + (hour < 12 ? "HAM.WAV" : "HPM.WAV");
}

void Hour(const TokenContext& c, bool twenty_four, Names& out) {
  const int hour = c.time.hour;
  switch (c.variant) {
    case 3:
      out.push_back(MorningOrAfternoon(hour));
      return;
    case 4:
      out.push_back(MorningOrAfternoon(hour == 16 ? 4 : hour));
      return;
    case 6:
      out.push_back(Number(TwelveHour(hour)));
      out.push_back("OCLOCK.WAV");
      return;
    case 7:
    case 8:
    case 10:
    case 11:
      if (c.variant == 11) out.push_back("OCLOCK.WAV");
      if (!twenty_four) {
        out.push_back(Number(TwelveHour(hour)));
      } else {
        const int u = hour == 0 ? 24 : hour;
        if (u > 20) out.push_back("20.WAV");
        out.push_back(Number(u > 20 ? u % 10 : u));
      }
      return;
    default:
      out.push_back(TwoDigits(TwelveHour(hour)) + "H.WAV");
      return;
  }
}

void Minute(const TokenContext& c, Names& out) {
  const int m = c.time.minute;
  const int v = c.variant;
  switch (v) {
    case 2:
    case 3:
    case 4:
      if (v == 2 && m == 30) {
        out.push_back("30M.WAV");
      } else if (v != 2 && m == 1) {
        out.push_back("01M.WAV");
      } else {
        if (m >= 10) out.push_back(Tens(m / 10));
        out.push_back(v != 2 && m % 10 == 1 ? "1M.WAV" : MinuteWord(m % 10));
      }
      return;
    case 5:
      if (m >= 20) {
        out.push_back(Tens(m / 10));
        if (m % 10 != 0) out.push_back(MinuteWord(m % 10));
      } else {
        out.push_back(m == 0 ? "OCLOCK.WAV" : MinuteWord(m));
      }
      return;
    case 6:
    case 11:
      if (m > 20) {
        out.push_back(MinuteWord(m % 10));
        out.push_back(Tens(m / 10));
      } else if (m == 20) {
        out.push_back(Tens(2));  // the set has no minute word for twenty
      } else if (m > 0) {
        out.push_back(MinuteWord(m));
      }
      return;
    case 7:
      if (m > 20) {
        out.push_back(Tens(m / 10));
        out.push_back(Number(m % 10));
      } else if (m > 0) {
        out.push_back(Number(m));
      }
      return;
    case 8:
      if (m == 31 || m == 41 || m == 51) {
        out.push_back(std::to_string(m) + ".WAV");
      } else if (m > 21) {
        out.push_back(Tens(m / 10));
        out.push_back(Number(m % 10));
      } else if (m > 0) {
        out.push_back(Number(m));
      }
      return;
    case 9:
      if (m > 30) {
        out.push_back(std::to_string(m / 10 * 10) + "Y.WAV");
        out.push_back(Number(m % 10));
      } else if (m > 20) {
        out.push_back("20.WAV");
        out.push_back(Number(m % 10));
      } else if (m > 0) {
        out.push_back(Number(m));
      }
      return;
    case 10:
      if (m > 20) {
        out.push_back(Tens(m / 10));
        out.push_back(Number(m % 10));
      } else {
        out.push_back(Number(m));
      }
      return;
    default:
      if (m >= 10) out.push_back(Tens(m / 10));
      out.push_back(MinuteWord(m % 10));
      return;
  }
}

}  // namespace

bool TypeThreeToken(const TokenContext& c, std::string_view lower, Names& out) {
  if (lower == "hour" || lower == "hh24") {
    Hour(c, lower == "hh24", out);
  } else if (lower == "min") {
    Minute(c, out);
  } else {
    return false;
  }
  return true;
}

}  // namespace chimewell::compose
