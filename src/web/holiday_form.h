#pragma once
// The configuration page's holiday form: the text of the user's days off, replacing the file.
#include "web/request_context.h"

namespace chimewell {

// The holiday form step of the request handler (marker HOLISET, text HOLIDAYS): the edited days
// replace the holiday file when every line reads; otherwise nothing changes and the page shows
// the refused text with its bad lines. False without HOLISET; a failed save throws
// FileWriteError.
bool HandleHolidayForm(RequestContext& ctx);

}  // namespace chimewell
