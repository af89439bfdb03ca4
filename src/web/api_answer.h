#pragma once
// The API's answers: JSON with its status, and the refusals with their Japanese reason.
#include <string>

#include "web/api_error.h"
#include "web/http_request_info.h"

namespace chimewell {

// `json_text` as the body, with the status's line and the JSON media type.
void AnswerApiJson(HttpResponseInfo& response, int status, std::string json_text);
// {"error": <status's name>, "reason": <Japanese reason>}; a 401 also names the scheme.
void AnswerApiError(HttpResponseInfo& response, const ApiError& error);

}  // namespace chimewell
