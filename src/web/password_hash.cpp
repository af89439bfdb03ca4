#include "web/password_hash.h"

#include <sodium.h>

#include <array>
#include <mutex>
#include <vector>

namespace chimewell {
namespace {

bool SodiumReady() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

}  // namespace

std::string HashAccessPassword(std::string_view password) {
  if (!SodiumReady() || password.size() > kMaxAccessPasswordBytes) return {};
  char hash[crypto_pwhash_STRBYTES] = {};
  if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    return {};
  }
  return hash;
}

bool VerifyAccessPassword(const std::string& stored_hash, std::string_view password) {
  if (!SodiumReady() || stored_hash.empty() || stored_hash.size() >= crypto_pwhash_STRBYTES ||
      password.size() > kMaxAccessPasswordBytes) {
    return false;
  }
  return crypto_pwhash_str_verify(stored_hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace chimewell

namespace chimewell {

struct PasswordChecker::State {
  std::mutex mutex;
  unsigned char key[crypto_generichash_KEYBYTES] = {};
  std::vector<std::array<unsigned char, crypto_generichash_BYTES>> matched;
};

namespace {

constexpr size_t kRememberedPasswords = 16;

// Binds the password to the hash it matched, so a changed password forgets the old one.
std::array<unsigned char, crypto_generichash_BYTES> Digest(const unsigned char* key,
                                                           const std::string& stored_hash,
                                                           std::string_view password) {
  std::array<unsigned char, crypto_generichash_BYTES> digest{};
  crypto_generichash_state state;
  crypto_generichash_init(&state, key, crypto_generichash_KEYBYTES, digest.size());
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(stored_hash.data()),
                            stored_hash.size() + 1);  // with its terminating zero as separator
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(password.data()),
                            password.size());
  crypto_generichash_final(&state, digest.data(), digest.size());
  return digest;
}

}  // namespace

PasswordChecker::PasswordChecker() : state_(std::make_unique<State>()) {
  if (SodiumReady()) crypto_generichash_keygen(state_->key);
}

PasswordChecker::~PasswordChecker() { sodium_memzero(state_->key, sizeof state_->key); }

bool PasswordChecker::Remembered(const std::string& stored_hash, std::string_view password) {
  if (!SodiumReady()) return false;
  const auto digest = Digest(state_->key, stored_hash, password);
  const std::lock_guard lock(state_->mutex);
  for (const auto& known : state_->matched) {
    if (sodium_memcmp(known.data(), digest.data(), digest.size()) == 0) return true;
  }
  return false;
}

bool PasswordChecker::Verify(const std::string& stored_hash, std::string_view password) {
  if (!VerifyAccessPassword(stored_hash, password)) return false;
  const auto digest = Digest(state_->key, stored_hash, password);
  const std::lock_guard lock(state_->mutex);
  if (state_->matched.size() >= kRememberedPasswords) {
    state_->matched.erase(state_->matched.begin());
  }
  state_->matched.push_back(digest);
  return true;
}

}  // namespace chimewell
