#pragma once
// The access password as stored: a salted hash made by a slow key-derivation function
// (libsodium's Argon2id), never the password itself.
#include <memory>
#include <string>
#include <string_view>

namespace chimewell {

// Passwords longer than this are refused before hashing, so no request can make the
// derivation work on megabytes.
inline constexpr size_t kMaxAccessPasswordBytes = 256;

// The hash to store for `password`; empty when the library cannot make one (out of memory).
std::string HashAccessPassword(std::string_view password);

// Whether `password` matches `stored_hash`. Slow on purpose (about 0.1 s and 64 MiB).
bool VerifyAccessPassword(const std::string& stored_hash, std::string_view password);

// Checks passwords against a stored hash, remembering those that matched as keyed digests held
// in memory only: a browser sends the password with every request, and the slow check is paid
// once. Safe to use from any thread; its lock is never held during the slow check.
class PasswordChecker {
 public:
  PasswordChecker();
  ~PasswordChecker();
  PasswordChecker(const PasswordChecker&) = delete;
  PasswordChecker& operator=(const PasswordChecker&) = delete;

  // Whether `password` matched `stored_hash` before. Fast.
  bool Remembered(const std::string& stored_hash, std::string_view password);
  // The slow check; a match is remembered.
  bool Verify(const std::string& stored_hash, std::string_view password);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace chimewell
