#include "platform/system_clock.h"

#include <chrono>

namespace chimewell {

int64_t SystemClock::UnixMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

int64_t SystemClock::MonotonicMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

uint32_t SystemClock::TickCount() const { return static_cast<uint32_t>(MonotonicMs()); }

bool SystemClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                          int64_t ms, const std::function<bool()>& done) {
  return cv.wait_for(lock, std::chrono::milliseconds(ms < 0 ? 0 : ms), done);
}

}  // namespace chimewell
