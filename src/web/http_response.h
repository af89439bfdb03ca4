#pragma once
// Turns the handler's response record into the bytes sent back: status line, headers, body.
#include <string>

#include "web/http_request_info.h"

namespace chimewell {

// "Chimewell/<version>", the product token of the Server header.
std::string DefaultProductToken();

// Marks the header written and returns the status line and the header lines Server,
// Content-Type, Content-Length (for a known length) and Connection, each ending in CR LF, then
// an empty line. Fills in BodyLength from BodyText when it is -1 and the body is not empty.
std::string WriteResponseHeader(HttpResponseInfo& response, const std::string& product_token);

// What the client receives when the handler fails: status 500 with the error's message as the
// page, escaped so that a message quoting request data cannot inject markup.
void SetHandlerErrorResponse(HttpResponseInfo& response, const std::string& message);

}  // namespace chimewell
