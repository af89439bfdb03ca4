#include "web/api_tokens.h"

#include <sodium.h>

#include <stdexcept>

namespace chimewell {
namespace {

constexpr size_t kSecretBytes = 32;
constexpr const char* kSecretPrefix = "cw_";
// Longer than any key we make: such a header is no key of ours and is not hashed.
constexpr size_t kMaxPresentedBytes = 256;

void RequireSodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
}

std::string Hex(const unsigned char* bytes, size_t size) {
  std::string hex(size * 2 + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), bytes, size);
  hex.pop_back();
  return hex;
}

}  // namespace

NewApiToken MakeApiToken() {
  RequireSodium();
  unsigned char bytes[kSecretBytes];
  randombytes_buf(bytes, sizeof bytes);
  std::string secret = kSecretPrefix + Hex(bytes, sizeof bytes);
  sodium_memzero(bytes, sizeof bytes);
  std::string hash = HashApiToken(secret);
  return {std::move(secret), std::move(hash)};
}

std::string HashApiToken(std::string_view secret) {
  RequireSodium();
  unsigned char digest[crypto_generichash_BYTES];
  crypto_generichash(digest, sizeof digest, reinterpret_cast<const unsigned char*>(secret.data()),
                     secret.size(), nullptr, 0);
  return Hex(digest, sizeof digest);
}

bool MatchesApiToken(const std::vector<ApiTokenRecord>& stored, std::string_view presented) {
  if (presented.empty() || presented.size() > kMaxPresentedBytes) return false;
  const std::string hash = HashApiToken(presented);
  bool found = false;
  for (const ApiTokenRecord& token : stored) {
    // Every stored key is compared, so the time taken does not tell which one came close.
    if (token.hash.size() == hash.size() &&
        sodium_memcmp(token.hash.data(), hash.data(), hash.size()) == 0) {
      found = true;
    }
  }
  return found;
}

}  // namespace chimewell
