#pragma once
// The test section of the configuration page: the moment a test announces, which test command
// a request carries, and the one-off entry that plays a test file.
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "schedule/schedule_entry.h"
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

// A one-shot entry that plays `path` once at `volume`, as a due schedule entry of `kind`
// (ctWave or ctMidi) would.
TSchedule TestFileEntry(const std::string& path, TCommandType kind, int volume);

// The test commands step of the request handler: announces, speaks or plays what the test
// asks for, or reports why it cannot. False when none of the four markers is present.
bool HandleTestCommand(RequestContext& ctx);

}  // namespace chimewell
