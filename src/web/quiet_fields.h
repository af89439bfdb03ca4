#pragma once
// The base form's quiet-hours and busy-desktop fields: read from a request, and shown.
#include <string>
#include <span>

#include "core/settings.h"
#include "web/page_render.h"
#include "web/request_context.h"

namespace chimewell {

// Takes the fields into `config` when the page has them (an older page template without
// them leaves the stored values alone). A time that is not one is refused with a notice, and
// both times stay as they were.
void ReadQuietFields(RequestContext& ctx, ConfigSettings& config);
// QUIETFROM, QUIETTO, QUIETDAY1 (Sunday) .. QUIETDAY7, QUIETBUSY, and QUIETSTATE (that the
// quiet hours are off, when they are).
void AppendQuietValues(ReplacementList& list, const ConfigSettings& config);
// QUIETBUSYNOTE: why calls or Do Not Disturb cannot be watched, beside the busy setting.
void AppendBusyUnwatchedNote(ReplacementList& list, std::span<const std::string> reasons);

}  // namespace chimewell
