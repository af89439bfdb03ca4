#include "web/add_tokens.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace chimewell {
namespace {

constexpr size_t kTokenBytes = 16;

bool LooksLikeToken(std::string_view token) {
  return token.size() == kTokenBytes * 2 && std::all_of(token.begin(), token.end(), [](char c) {
           return std::isxdigit(static_cast<unsigned char>(c)) != 0;
         });
}

}  // namespace

std::string AddTokens::Issue() const {
  // Random rather than counted, so that a page served before a restart never carries a token
  // that the restarted program hands out again.
  static const bool ready = sodium_init() >= 0;
  (void)ready;
  std::array<unsigned char, kTokenBytes> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  std::array<char, kTokenBytes * 2 + 1> hex{};
  sodium_bin2hex(hex.data(), hex.size(), bytes.data(), bytes.size());
  return hex.data();
}

void AddTokens::MarkUsed(std::string_view token) {
  if (!LooksLikeToken(token) || Used(token)) return;
  used_.emplace(token);
  order_.emplace_back(token);
  if (order_.size() > kRemembered) {
    used_.erase(order_.front());
    order_.pop_front();
  }
}

}  // namespace chimewell
