#pragma once
// The page's control commands: second count (COUNTSET), pause (PAUSE), mute (MUTE), skip
// (SKIP) and exit (EXIT). They act as the popup menu does and never write the settings file.
#include "web/request_context.h"

namespace chimewell {

// The first present of COUNTSET, PAUSE, MUTE and SKIP; false when none is.
bool HandleControlCommand(RequestContext& ctx);

// EXIT: asks the next main tick to close the program; the page is still answered.
bool HandleExitCommand(RequestContext& ctx);

}  // namespace chimewell
