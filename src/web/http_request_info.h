#pragma once
// One parsed HTTP request and the response the handler fills in for it.
#include <string>
#include <vector>

#include "web/param_decoding.h"

namespace chimewell {

// The request as the handler sees it. Field names follow the handler's vocabulary.
struct HttpRequestInfo {
  std::string Command;                 // method, upper-cased: "GET", "POST" or "HEAD"
  std::string Document;                // target path without the query, not percent-decoded
  std::vector<std::string> Header;     // raw header lines, the closing empty line included
  std::string UnparsedParams;          // body, then CR LF and the query when both are present
  DecodedParams ParamList;             // decoded "name=value" lines in order of appearance
  std::string PeerAddress;
  bool LocalPeer = false;  // the peer is this machine (loopback or one of its own addresses)
  std::string Host;
  std::string Version;   // e.g. "HTTP/1.1"
  std::string UserName;  // from a Basic Authorization header
  std::string Password;
  std::string BearerToken;  // from a Bearer Authorization header (the API's keys)
  std::string Body;         // the body as sent, for the API's JSON
};

struct HttpResponseInfo {
  int StatusCode = 200;
  std::string StatusText = "OK";
  std::string MimeType = "text/html";
  std::string BodyText;
  long long BodyLength = -1;  // -1: the byte length of BodyText
  bool HeaderWritten = false;
  std::vector<std::string> ExtraHeaders;  // "Name: value" lines sent after Content-Length
};

}  // namespace chimewell
