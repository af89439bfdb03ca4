#pragma once
// The time-signal settings form (marker JIHOSET): voice type and folder, format, error switch
// and the add-on files.
#include "app/recent_folders.h"
#include "web/request_context.h"

namespace chimewell {

// Saves the form into [Jiho] (with the recent-folder list), reloads the time signal from the
// file and reports what the reload found. The values stay saved when it found problems.
bool HandleJihoForm(RequestContext& ctx);

}  // namespace chimewell
