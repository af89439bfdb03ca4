#pragma once
// The API's keys: made at random, stored as a hash, compared in constant time.
#include <string>
#include <string_view>
#include <vector>

#include "core/api_token_list.h"

namespace chimewell {

struct NewApiToken {
  std::string secret;  // shown to the user once
  std::string hash;    // what is stored
};

// A fresh key of 256 random bits.
NewApiToken MakeApiToken();
// The stored form of a key: BLAKE2b-256 in hexadecimal. A key is random and long, so a fast
// hash suffices; a password needs the slow one.
std::string HashApiToken(std::string_view secret);
// Whether `presented` is one of the stored keys.
bool MatchesApiToken(const std::vector<ApiTokenRecord>& stored, std::string_view presented);

}  // namespace chimewell
