#include "web/attempt_limiter.h"

#include <arpa/inet.h>

#include <algorithm>

namespace chimewell {
namespace {

constexpr AttemptLimiter::TimePoint kWindow = std::chrono::seconds(60);
constexpr AttemptLimiter::TimePoint kSpacing = kWindow / AttemptLimiter::kFailuresPerMinute;
// Clients remembered at once; beyond it the one nearest to having paid off is forgotten.
constexpr size_t kMaxClients = 4096;

}  // namespace

std::string AttemptKey(const std::string& address) {
  in6_addr v6{};
  if (inet_pton(AF_INET6, address.c_str(), &v6) != 1) return address;
  for (int i = 8; i < 16; ++i) v6.s6_addr[i] = 0;
  char text[INET6_ADDRSTRLEN] = {};
  inet_ntop(AF_INET6, &v6, text, sizeof text);
  return std::string(text) + "/64";
}

AttemptLimiter::TimePoint& AttemptLimiter::PaidOffAt(const std::string& address, TimePoint now) {
  const std::string key = AttemptKey(address);
  auto it = paid_off_at_.find(key);
  if (it == paid_off_at_.end()) {
    if (paid_off_at_.size() >= kMaxClients) {
      paid_off_at_.erase(
          std::min_element(paid_off_at_.begin(), paid_off_at_.end(),
                           [](const auto& a, const auto& b) { return a.second < b.second; }));
    }
    it = paid_off_at_.emplace(key, now).first;
  }
  it->second = std::max(it->second, now);
  return it->second;
}

bool AttemptLimiter::Allowed(const std::string& address, TimePoint now) {
  const std::lock_guard lock(mutex_);
  return PaidOffAt(address, now) <= now + kWindow - kSpacing;
}

bool AttemptLimiter::Begin(const std::string& address, TimePoint now) {
  const std::lock_guard lock(mutex_);
  TimePoint& paid_off_at = PaidOffAt(address, now);
  if (paid_off_at > now + kWindow - kSpacing) return false;
  paid_off_at += kSpacing;
  return true;
}

void AttemptLimiter::Succeeded(const std::string& address, TimePoint now) {
  const std::lock_guard lock(mutex_);
  TimePoint& paid_off_at = PaidOffAt(address, now);
  paid_off_at = std::max(now, paid_off_at - kSpacing);
}

int AttemptLimiter::SecondsToWait(const std::string& address, TimePoint now) {
  const std::lock_guard lock(mutex_);
  const auto wait = PaidOffAt(address, now) - (now + kWindow - kSpacing);
  return wait <= wait.zero()
             ? 0
             : static_cast<int>(std::chrono::ceil<std::chrono::seconds>(wait).count());
}

}  // namespace chimewell
