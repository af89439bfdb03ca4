#pragma once
// The access password on the base settings form: ACCESSPASSWORD sets a new one, ACCESSCLEAR=1
// removes it (other machines are then refused again). Only this machine may change it.
#include "web/request_context.h"

namespace chimewell {

// The problem that refuses the whole form (nothing is saved then), or empty.
std::string CheckAccessPasswordFields(const RequestContext& ctx);
// Stores what the fields ask for, after CheckAccessPasswordFields found nothing.
void ApplyAccessPasswordFields(RequestContext& ctx);

// The hash of the new password a base form request from this machine carries, made before the
// request reaches the UI thread, since the derivation takes a good part of a second; empty when
// there is none to make. The form then stores this hash instead of making it on the UI thread.
std::string PrepareAccessPasswordHash(const HttpRequestInfo& request);

// Whether a decoded parameter line carries the new password: such a line is never logged.
bool IsAccessPasswordLine(std::string_view param_line);

}  // namespace chimewell
