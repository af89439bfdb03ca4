#pragma once
// Slows password guessing: each client address may fail a limited number of times a minute.
// Used from the handler threads; its own mutex guards it.
#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace chimewell {

class AttemptLimiter {
 public:
  // Elapsed time since some start (never wall-clock time, which can jump).
  using TimePoint = std::chrono::milliseconds;
  static constexpr int kFailuresPerMinute = 10;

  // Whether `address` may try again now.
  bool Allowed(const std::string& address, TimePoint now);
  // Counts a failed attempt of `address`.
  void Failed(const std::string& address, TimePoint now);
  // Whole seconds until `address` may try again (0 when it may now).
  int SecondsToWait(const std::string& address, TimePoint now);

 private:
  // Per client the moment its failures so far would be paid off at one every six seconds;
  // a client may try while that lies less than a minute minus six seconds ahead.
  TimePoint& PaidOffAt(const std::string& address, TimePoint now);

  std::mutex mutex_;
  std::map<std::string, TimePoint> paid_off_at_;
};

// The key one client is counted under: its IPv4 address, or the /64 network of an IPv6
// address (one machine can use any address of its network).
std::string AttemptKey(const std::string& address);

}  // namespace chimewell
