#include "web/http_response.h"

#include "core/html_escape.h"
#include "version.h"

namespace chimewell {

std::string DefaultProductToken() { return std::string("Chimewell/") + kVersionText; }

std::string WriteResponseHeader(HttpResponseInfo& response, const std::string& product_token) {
  response.HeaderWritten = true;
  if (response.BodyLength == -1 && !response.BodyText.empty()) {
    response.BodyLength = static_cast<long long>(response.BodyText.size());
  }
  std::string head =
      "HTTP/1.1 " + std::to_string(response.StatusCode) + " " + response.StatusText + "\r\n";
  head += "Server: " + product_token + "\r\n";
  head += "Content-Type: " + response.MimeType + "\r\n";
  if (response.BodyLength >= 0) {
    head += "Content-Length: " + std::to_string(response.BodyLength) + "\r\n";
  }
  for (const std::string& line : response.ExtraHeaders) head += line + "\r\n";
  // Every connection carries one request; saying so keeps HTTP/1.1 clients from sending a second
  // request into a connection that is being closed, where it would be lost.
  head += "Connection: close\r\n";
  head += "\r\n";
  return head;
}

void SetHandlerErrorResponse(HttpResponseInfo& response, const std::string& message) {
  response.StatusCode = 500;
  response.StatusText = "Internal Server Error";
  response.BodyText = HtmlEscape(message);
  response.BodyLength = -1;
}

}  // namespace chimewell
