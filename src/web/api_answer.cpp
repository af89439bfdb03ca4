#include "web/api_answer.h"

#include <nlohmann/json.hpp>

namespace chimewell {
namespace {

const char* StatusText(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 202:
      return "Accepted";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 413:
      return "Content Too Large";
    case 429:
      return "Too Many Requests";
    case 503:
      return "Service Unavailable";
    default:
      return "Error";
  }
}

}  // namespace

void AnswerApiJson(HttpResponseInfo& response, int status, std::string json_text) {
  response.StatusCode = status;
  response.StatusText = StatusText(status);
  response.MimeType = "application/json; charset=utf-8";
  response.BodyText = std::move(json_text);
  response.BodyLength = -1;
}

void AnswerApiError(HttpResponseInfo& response, const ApiError& error) {
  const nlohmann::json doc = {{"error", StatusText(error.status)}, {"reason", error.reason}};
  AnswerApiJson(response, error.status,
                doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  if (error.status == 401) {
    response.ExtraHeaders.push_back("WWW-Authenticate: Bearer realm=\"Chimewell\"");
  }
  if (error.status == 429) response.ExtraHeaders.push_back("Retry-After: 5");
}

}  // namespace chimewell
