#pragma once
// The token rules of each voice type, and the small text helpers of the time signal.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"

namespace chimewell::compose {

// What every rule may look at for one announcement.
struct TokenContext {
  DateTimeParts time;
  int weekday = 1;  // 1 Sunday .. 7 Saturday
  int variant = 0;
  // Types 1 and 4 leave out words that the smaller units make redundant:
  bool seconds_spoken = false;      // the format has [sec] and the seconds count (S)
  bool minutes_spoken = false;      // the format has [min] and the minute is not 0 (M)
  bool odd_minutes_spoken = false;  // M, and the minute is not a multiple of ten (T)
};

using Names = std::vector<std::string>;

// Each rule appends the names a token plays and returns false for a token its type does not
// know. `token` is as written; `lower` is its lower-case form.
bool TypeOneToken(const TokenContext& c, std::string_view token, std::string_view lower,
                  Names& out);
bool TypeTwoToken(const TokenContext& c, std::string_view lower, Names& out);
bool TypeThreeToken(const TokenContext& c, std::string_view lower, Names& out);
bool TypeFourToken(const TokenContext& c, std::string_view token, std::string_view lower,
                   Names& out);
bool TypeFiveToken(const TokenContext& c, std::string_view lower, Names& out);

// n of a numbered token such as "opt12" (lower case); nullopt when `lower` is not `prefix`
// followed by decimal digits. A number too long to matter comes back as out of every range.
std::optional<int> TokenNumber(std::string_view lower, std::string_view prefix);

std::string TwoDigits(int n);

// The parts joined into one string; file names read better this way than as a chain of +.
std::string Concat(std::initializer_list<std::string_view> parts);

}  // namespace chimewell::compose
