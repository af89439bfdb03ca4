#pragma once
// The test section of the configuration page: the moment a test announces, which test command
// a request carries.
#include <string>
#include <string_view>
#include <vector>

#include "app/test_file_entry.h"
#include "core/datetime.h"
#include "web/param_decoding.h"
#include "web/request_context.h"

namespace chimewell {

// DATE "yyyy/mm/dd" and TIME "hh:nn.ss" as one moment; 0 when a part is not a whole number
// (a missing separator leaves a part empty) or the parts are not a real date and time.
TDateTime ParseTestMoment(std::string_view date, std::string_view time);
// The same from the request's DATE and TIME fields.
TDateTime ParseTestMoment(const DecodedParams& params);

enum class TestCommand { kNone, kTimeSignal, kMessage, kWave, kMidi };

// The first present of JIHOTEST, MSGTEST, WAVETEST and MIDITEST.
TestCommand ChooseTestCommand(const DecodedParams& params);

// The test commands step of the request handler: announces, speaks or plays what the test
// asks for, or reports why it cannot. False when none of the four markers is present.
bool HandleTestCommand(RequestContext& ctx);

}  // namespace chimewell
