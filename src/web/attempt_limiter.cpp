#include "web/attempt_limiter.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cmath>

namespace chimewell {
namespace {

constexpr double kRefillPerSecond = AttemptLimiter::kFailuresPerMinute / 60.0;
// Clients remembered at once; beyond it the one with the most attempts left is forgotten.
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

AttemptLimiter::Bucket& AttemptLimiter::BucketOf(const std::string& address, TimePoint now) {
  const std::string key = AttemptKey(address);
  auto it = buckets_.find(key);
  if (it == buckets_.end()) {
    if (buckets_.size() >= kMaxClients) {
      buckets_.erase(std::max_element(buckets_.begin(), buckets_.end(), [](auto& a, auto& b) {
        return a.second.attempts < b.second.attempts;
      }));
    }
    it = buckets_.emplace(key, Bucket{kFailuresPerMinute, now}).first;
  }
  Bucket& bucket = it->second;
  const double elapsed = std::chrono::duration<double>(now - bucket.updated).count();
  if (elapsed > 0) {
    bucket.attempts = std::min<double>(kFailuresPerMinute,
                                       bucket.attempts + elapsed * kRefillPerSecond);
    bucket.updated = now;
  }
  return bucket;
}

bool AttemptLimiter::Allowed(const std::string& address, TimePoint now) {
  const std::lock_guard lock(mutex_);
  return BucketOf(address, now).attempts >= 1;
}

void AttemptLimiter::Failed(const std::string& address, TimePoint now) {
  const std::lock_guard lock(mutex_);
  Bucket& bucket = BucketOf(address, now);
  bucket.attempts = std::max(0.0, bucket.attempts - 1);
}

int AttemptLimiter::SecondsToWait(const std::string& address, TimePoint now) {
  const std::lock_guard lock(mutex_);
  const double missing = 1 - BucketOf(address, now).attempts;
  return missing <= 0 ? 0 : static_cast<int>(std::ceil(missing / kRefillPerSecond));
}

}  // namespace chimewell
