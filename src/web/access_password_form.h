#pragma once
// The access password on the base settings form: ACCESSPASSWORD sets a new one, ACCESSCLEAR=1
// removes it (other machines are then refused again). Only this machine may change it.
#include "web/request_context.h"

namespace chimewell {

// The problem that refuses the whole form (nothing is saved then), or empty.
std::string CheckAccessPasswordFields(const RequestContext& ctx);
// Stores what the fields ask for, after CheckAccessPasswordFields found nothing.
void ApplyAccessPasswordFields(RequestContext& ctx);

// Whether a decoded parameter line carries the new password: such a line is never logged.
bool IsAccessPasswordLine(std::string_view param_line);

}  // namespace chimewell
