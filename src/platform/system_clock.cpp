#include <chrono>

#include "platform/clock.h"

namespace chimewell {

TDateTime SystemClock::Now() const {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return FromUnixMilliseconds(ms);
}

uint32_t SystemClock::TickCount() const {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<uint32_t>(ms);
}

bool SystemClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                          int64_t ms, const std::function<bool()>& done) {
  return cv.wait_for(lock, std::chrono::milliseconds(ms < 0 ? 0 : ms), done);
}

}  // namespace chimewell
