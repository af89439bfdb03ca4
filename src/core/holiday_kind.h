#pragma once
// The kinds of national holiday: the law's days, the one-off days set by their own laws, and
// the days off the law adds after them (振替休日, 国民の休日).
#include <cstdint>

namespace chimewell {

enum class HolidayKind : uint8_t {
  kNone,
  kNewYear,
  kComingOfAge,
  kFoundation,
  kEmperorsBirthday,
  kVernalEquinox,
  kShowa,
  kGreenery,
  kConstitution,
  kChildren,
  kMarine,
  kMountain,
  kRespectForTheAged,
  kAutumnalEquinox,
  kHealthAndSports,
  kSports,
  kCulture,
  kLaborThanksgiving,
  kCrownPrinceAkihitoWedding,   // 1959-04-10
  kShowaFuneral,                // 1989-02-24
  kEnthronementCeremony1990,    // 1990-11-12
  kCrownPrinceNaruhitoWedding,  // 1993-06-09
  kEnthronement2019,            // 2019-05-01
  kEnthronementCeremony2019,    // 2019-10-22
  kSubstitute,                  // 振替休日
  kBridge,                      // 国民の休日
};

}  // namespace chimewell
