#pragma once
// The page's form for the API's keys: makes one under a name (shown once, stored as a hash),
// removes one by its name, and lists their names.
#include <vector>

#include "core/api_token_list.h"
#include "web/request_context.h"

namespace chimewell {

// APIKEYADD with APIKEYNAME, or APIKEYDEL naming the key; only from this machine's page, as
// the new key is shown in the answer.
bool HandleApiKeyForm(RequestContext& ctx);

// $!APIKEYS!$ (the names, each with its remove button) and the section's closed mark.
void AppendApiKeyValues(ReplacementList& list, const std::vector<ApiTokenRecord>& tokens);

}  // namespace chimewell
