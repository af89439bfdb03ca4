#include "web/http_request_parser.h"

#include <charconv>
#include <cstdint>

#include "core/ascii_text.h"
#include "web/base64.h"
#include "web/param_decoding.h"
#include "web/text_util.h"

namespace chimewell {
namespace {

// Why a connection was closed without a response.
constexpr const char* kBadCommand = "Error in parsing command.";
constexpr const char* kUnsupportedMethod = "Unsupported method.";
constexpr const char* kUnsupportedAuthorization = "Unsupported authorization scheme.";
constexpr const char* kLineTooLong = "Request or header line too long.";
constexpr const char* kHeadersTooLong = "Request headers too long.";
constexpr const char* kBodyTooLong = "Request body too long.";
constexpr const char* kPeerClosed = "Connection closed by the peer.";
constexpr const char* kReadFailed = "Reading the request failed or timed out.";

RequestReadResult Drop(const char* reason) { return {std::nullopt, reason}; }

const char* ReasonFor(ReadStatus status) {
  switch (status) {
    case ReadStatus::kTooLong:
      return kLineTooLong;
    case ReadStatus::kClosed:
      return kPeerClosed;
    default:
      return kReadFailed;
  }
}

// The declared body length; -1 when absent or not a decimal number. Values too large to matter
// saturate so that the body limit catches them.
int64_t ContentLength(const HttpRequestInfo& request) {
  const auto value = HeaderValue(request, "Content-Length");
  if (!value || value->empty()) return -1;
  std::string_view digits = *value;
  bool negative = false;
  if (digits.front() == '+' || digits.front() == '-') {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return -1;
  int64_t length = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    if (length < (int64_t{1} << 40)) length = length * 10 + (c - '0');
  }
  return negative ? -1 : length;
}

// Splits an absolute target "scheme://host[:port]/path" into host and path; false otherwise.
bool SplitAbsoluteTarget(std::string_view target, std::string& host, std::string& path) {
  const size_t scheme_end = target.find("://");
  if (scheme_end == std::string_view::npos || scheme_end == 0) return false;
  for (char c : target.substr(0, scheme_end)) {
    const bool scheme_char = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!scheme_char) return false;
  }
  const std::string_view rest = target.substr(scheme_end + 3);
  const size_t slash = rest.find('/');
  host = std::string(rest.substr(0, slash));
  path = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));
  return true;
}

void SetDocumentAndHost(std::string_view target_path, HttpRequestInfo& request) {
  request.Host = HeaderValue(request, "Host").value_or("");
  std::string target_host;
  // An origin path, and also "*", is taken as it stands.
  if (!SplitAbsoluteTarget(target_path, target_host, request.Document)) {
    request.Document = std::string(target_path);
  }
  if (request.Host.empty()) request.Host = target_host;
}

// Takes user name and password from a Basic Authorization header, or the key of a Bearer one;
// false for another scheme.
bool ReadCredentials(HttpRequestInfo& request) {
  const auto value = HeaderValue(request, "Authorization");
  if (!value) return true;
  const std::string_view text = *value;
  const size_t space = text.find(' ');
  if (EqualsIgnoreAsciiCase(text.substr(0, space), "Bearer")) {
    if (space != std::string_view::npos) {
      request.BearerToken = TrimBlanksAndControls(text.substr(space + 1));
    }
    return true;
  }
  if (!EqualsIgnoreAsciiCase(text.substr(0, space), "Basic")) return false;
  const std::string decoded =
      DecodeBase64(space == std::string_view::npos ? std::string_view() : text.substr(space + 1));
  const size_t colon = decoded.find(':');
  request.UserName = decoded.substr(0, colon);
  if (colon != std::string::npos) request.Password = decoded.substr(colon + 1);
  return true;
}

}  // namespace

std::optional<std::string> HeaderValue(const HttpRequestInfo& request, std::string_view name) {
  for (const std::string& line : request.Header) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string_view line_view = line;
    if (EqualsIgnoreAsciiCase(TrimBlanksAndControls(line_view.substr(0, colon)), name)) {
      return std::string(TrimBlanksAndControls(line_view.substr(colon + 1)));
    }
  }
  return std::nullopt;
}

RequestHead ReadRequestHead(BufferedReader& reader, const HttpLimits& limits,
                            const std::string& peer_address) {
  RequestHead head;
  const auto stop = [&head](ReadStatus status) {
    head.status =
        status == ReadStatus::kClosed ? RequestHead::Status::kNeedMore : RequestHead::Status::kDrop;
    head.drop_reason = ReasonFor(status);
    return std::move(head);
  };
  const auto drop = [&head](const char* reason) {
    head.status = RequestHead::Status::kDrop;
    head.drop_reason = reason;
    return std::move(head);
  };
  std::string line;
  ReadStatus status = reader.ReadLine(limits.max_line_bytes, line);
  if (status != ReadStatus::kOk) return stop(status);

  const size_t last_space = line.rfind(' ');
  if (last_space == std::string::npos) return drop(kBadCommand);
  HttpRequestInfo& request = head.request;
  request.Version = line.substr(last_space + 1);
  const std::string_view rest = std::string_view(line).substr(0, last_space);
  const size_t first_space = rest.find(' ');
  request.Command = AsciiUpperCopy(rest.substr(0, first_space));
  head.target = std::string(first_space == std::string_view::npos ? std::string_view()
                                                                  : rest.substr(first_space + 1));
  if (request.Command != "GET" && request.Command != "POST" && request.Command != "HEAD") {
    return drop(kUnsupportedMethod);
  }
  request.PeerAddress = peer_address;

  size_t header_bytes = 0;
  while (true) {
    status = reader.ReadLine(limits.max_line_bytes, line);
    if (status != ReadStatus::kOk) return stop(status);
    header_bytes += line.size() + 2;
    if (header_bytes > limits.max_header_bytes) return drop(kHeadersTooLong);
    request.Header.push_back(line);
    if (TrimBlanksAndControls(line).empty()) break;
  }

  head.body_length = ContentLength(request);
  if (head.body_length > static_cast<int64_t>(limits.max_body_bytes)) return drop(kBodyTooLong);
  if (head.body_length < 0 && request.Command == "POST") head.body_length = kBodyUntilClose;
  head.status = RequestHead::Status::kComplete;
  return head;
}

RequestReadResult FinishRequest(RequestHead head, std::string body) {
  HttpRequestInfo& request = head.request;
  request.Body = body;
  request.UnparsedParams = std::move(body);
  const std::string& target = head.target;
  const size_t question = target.find('?');
  if (question != std::string::npos && question + 1 < target.size()) {
    if (!request.UnparsedParams.empty()) request.UnparsedParams.append("\r\n");
    request.UnparsedParams.append(target, question + 1);
  }
  request.ParamList = DecodeParams(request.UnparsedParams);

  SetDocumentAndHost(std::string_view(target).substr(0, question), request);
  if (!ReadCredentials(request)) return Drop(kUnsupportedAuthorization);
  return {std::move(request), {}};
}

RequestReadResult ReadHttpRequest(BufferedReader& reader, const HttpLimits& limits,
                                  const std::string& peer_address) {
  RequestHead head = ReadRequestHead(reader, limits, peer_address);
  if (head.status != RequestHead::Status::kComplete) return {std::nullopt, head.drop_reason};
  std::string body;
  ReadStatus status = ReadStatus::kOk;
  if (head.body_length >= 0) {
    status = reader.ReadExact(static_cast<size_t>(head.body_length), body);
  } else if (head.body_length == kBodyUntilClose) {
    status = reader.ReadToEnd(limits.max_body_bytes, body);
    if (status == ReadStatus::kTooLong) return Drop(kBodyTooLong);
  }
  if (status != ReadStatus::kOk) return Drop(ReasonFor(status));
  return FinishRequest(std::move(head), std::move(body));
}

}  // namespace chimewell
