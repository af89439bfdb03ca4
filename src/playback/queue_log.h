#pragma once
// Builds the log lines the queue operations of both workers write.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/datetime.h"

namespace chimewell {

// 0..100: below 0 gives 0, above 100 gives 100.
int32_t ClampVolume(int32_t volume);

// `prefix` + `what` [+ " vol=" + volume] + " endTime:" + formatted end time.
std::string QueueLineUntil(std::string_view prefix, const std::string& what, const int32_t* volume,
                           TDateTime end_time);
// `prefix` + `what` [+ " vol=" + volume] + `label` + count.
std::string QueueLineCount(std::string_view prefix, const std::string& what, const int32_t* volume,
                           std::string_view label, int32_t count);

}  // namespace chimewell
