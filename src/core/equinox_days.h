#pragma once
// The days of the vernal and autumnal equinox in Japan Standard Time, which 春分の日 and
// 秋分の日 fall on.
namespace chimewell {

// Day of March (20 or 21, sometimes 19 late in the century) for years 1900..2099; 0 outside.
int VernalEquinoxDay(int year);
// Day of September (22 to 24) for years 1900..2099; 0 outside.
int AutumnalEquinoxDay(int year);

}  // namespace chimewell
