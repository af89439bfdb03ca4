#pragma once
// The base settings form (marker BASESET): speaking offset, double-click action, volumes,
// start minimised and the speaking face.
#include "web/request_context.h"

namespace chimewell {

// Clamps the values into range, applies them at once and writes [Config]. A value stored
// otherwise than sent (out of range, not a number) is named in the page's notices.
bool HandleBaseForm(RequestContext& ctx);

}  // namespace chimewell
