#include "core/fault.h"

namespace chimewell {

std::string DescribeFault(const std::string& where, const std::exception_ptr& error) {
  std::string what = "不明な例外";
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
  }
  return "内部エラー(" + where + "): " + what;
}

bool RunCatchingFaults(const std::string& where, const std::function<void()>& step,
                       const FaultReport& report) {
  try {
    step();
    return true;
  } catch (...) {
    const std::string text = DescribeFault(where, std::current_exception());
    // The report itself must not bring down the thread it protects.
    try {
      if (report) report(text);
    } catch (...) {
    }
    return false;
  }
}

}  // namespace chimewell
