#pragma once
// A refusal of the API: the HTTP status and the Japanese reason the answer carries.
#include <string>

namespace chimewell {

struct ApiError {
  int status = 400;
  std::string reason;
};

}  // namespace chimewell
