#pragma once
// Numbers the speech engine would misread, rewritten into forms it reads the standard way.
// Only the text handed to the engine is rewritten; every text shown stays as it was composed.
#include <string>
#include <string_view>

namespace chimewell {

// `text` as the speech engine should receive it:
// - a valid time or date written with colons or slashes is written with its counters, so that
//   it is read as one: 8:15 as 8時15分, 7:00 as 7時, 4/29 as 4月29日, 2026/4/29 as 2026年4月29日;
//   ratios (16:9), versions, paths and impossible times or dates (25:00, 2/30) stay as written;
// - a zero hour, minute or second (0時, 00分, ０秒, and those of a time: 0:05) becomes 零時, 零分,
//   零秒, read レイジ and not ゼロジ; durations (0時間, 0分間) keep the digit, ゼロジカン being
//   their usual reading;
// - the first year of an era (令和1年) is its 元年, read ガンネン as announcers say it;
// - a day of the month written after its month with blanks between (8月 1日) is joined to the
//   month (8月1日), so that it is read as a date (ツイタチ, not イチニチ).
// Digits may be ASCII or full-width; a digit that continues a number (10時, 1.0分) is no zero.
std::string ApplySpeechReadings(std::string_view text);

}  // namespace chimewell
