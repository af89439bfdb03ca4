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
// - a range of times, dates, counted numbers or weekdays, marked with ～ 〜 ~ or (between items
//   that make a range with certainty) a dash, is read with から (9:00～17:00 as 9時から17時,
//   5～10分 as 5分から10分, 月～金 as ゲツからキン), and with まで where a word follows after a
//   blank; two neighbouring numbers of a count as a span (2～3日 ニサンニチ); an open range
//   after an item with から (18:00～), before one with まで (～5/31);
// - AM and PM before or after a time as 午前 and 午後 (12 AM as 午前0時, 12 PM as 午後0時);
// - a temperature in ℃, °C or ° as 度, its minus as マイナス; ¥ before an amount as 円 after it;
// - weekdays written with a character each in lists and ranges as a speaker says them (月・木
//   ゲツ・モク, 土日祝 ドニチシュク); 24:00 as 24時;
// - what the engine's dictionary would join to a counter is handed on in kana (10時の間 as
//   10時のあいだ, 1日中 as 1日じゅう).
// Digits may be ASCII or full-width; a digit that continues a number (10時, 1.0分) is no zero.
// The rules, one family to a file, are in reading_rules.h and the words they use in
// reading_texts.h. Text no rule recognises with certainty stays as written, and any bytes
// (malformed UTF-8 too) are read without fault.
std::string ApplySpeechReadings(std::string_view text);

}  // namespace chimewell
