#pragma once
// The holiday names the clock shows and speaks, and the holiday file's problems, kept together.
#include <string>
#include <string_view>

#include "core/holiday_kind.h"

namespace chimewell::holiday_texts {

// The name of a national holiday as the law and the laws for the one-off days call it.
inline std::string_view Name(HolidayKind kind) {
  switch (kind) {
    case HolidayKind::kNone:
      break;
    case HolidayKind::kNewYear:
      return "元日";
    case HolidayKind::kComingOfAge:
      return "成人の日";
    case HolidayKind::kFoundation:
      return "建国記念の日";
    case HolidayKind::kEmperorsBirthday:
      return "天皇誕生日";
    case HolidayKind::kVernalEquinox:
      return "春分の日";
    case HolidayKind::kShowa:
      return "昭和の日";
    case HolidayKind::kGreenery:
      return "みどりの日";
    case HolidayKind::kConstitution:
      return "憲法記念日";
    case HolidayKind::kChildren:
      return "こどもの日";
    case HolidayKind::kMarine:
      return "海の日";
    case HolidayKind::kMountain:
      return "山の日";
    case HolidayKind::kRespectForTheAged:
      return "敬老の日";
    case HolidayKind::kAutumnalEquinox:
      return "秋分の日";
    case HolidayKind::kHealthAndSports:
      return "体育の日";
    case HolidayKind::kSports:
      return "スポーツの日";
    case HolidayKind::kCulture:
      return "文化の日";
    case HolidayKind::kLaborThanksgiving:
      return "勤労感謝の日";
    case HolidayKind::kCrownPrinceAkihitoWedding:
      return "皇太子明仁親王の結婚の儀";
    case HolidayKind::kShowaFuneral:
      return "昭和天皇の大喪の礼";
    case HolidayKind::kEnthronementCeremony1990:
      return "即位礼正殿の儀";
    case HolidayKind::kCrownPrinceNaruhitoWedding:
      return "皇太子徳仁親王の結婚の儀";
    case HolidayKind::kEnthronement2019:
      return "天皇の即位の日";
    case HolidayKind::kEnthronementCeremony2019:
      return "即位礼正殿の儀";
    case HolidayKind::kSubstitute:
      return "振替休日";
    case HolidayKind::kBridge:
      return "国民の休日";
  }
  return {};
}

// A day of the holiday file that names none: it is simply a day off.
inline constexpr std::string_view kUnnamedDay = "休日";

// "休日ファイルの 3行目にエラーがあります：" and the reason; lines counted from 1.
inline std::string LineError(int line, std::string_view reason) {
  return "休日ファイルの " + std::to_string(line) + "行目にエラーがあります：" +
         std::string(reason);
}

inline std::string NotADateForm(std::string_view word) {
  return "'" + std::string(word) + "' は日付の形ではありません（yyyy/mm/dd または mm/dd）";
}
inline std::string NoSuchDay(std::string_view word) {
  return "'" + std::string(word) + "' という日はありません";
}

}  // namespace chimewell::holiday_texts
