#pragma once
// The standard reading of the clock's own texts, as an announcer pronounces them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

// A text's reading piece by piece; a piece may have more than one standard reading
// (8分: ハップン or ハチフン).
using ReadingPieces = std::vector<std::vector<std::string>>;

// Readings of the words the clock composes: numbers with 年 月 日 時 分 秒 (a day of the month
// read as a date), era names, weekday names, 午前, 午後, です; blanks are pauses and not read.
// Long vowels are written ー as the engine pronounces them (十 ジュー, 令和 レーワ).
// nullopt for text outside these words.
std::optional<ReadingPieces> StandardReading(std::string_view text);

// True when `pronunciation` is one of the readings `pieces` allow.
bool IsReadAs(std::string_view pronunciation, const ReadingPieces& pieces);

// The first reading `pieces` allow, for messages.
std::string FirstReading(const ReadingPieces& pieces);

}  // namespace chimewell
