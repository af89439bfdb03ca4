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
  // Counts an attempt of `address` when it may try now, before the password is checked, so
  // that clients checked at the same time cannot all slip through; false (nothing counted)
  // when it may not.
  bool Begin(const std::string& address, TimePoint now);
  // The attempt begun was the right password: it is not counted after all.
  void Succeeded(const std::string& address, TimePoint now);
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
