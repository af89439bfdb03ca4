#pragma once
// Faults that escape a thread's entry point or an event-loop boundary: caught there, told in
// one line (log and panel), and the program goes on.
#include <exception>
#include <functional>
#include <string>

namespace chimewell {

using FaultReport = std::function<void(const std::string&)>;

// "内部エラー(WHERE): what" for the exception in flight or held in `error`.
std::string DescribeFault(const std::string& where, const std::exception_ptr& error);

// Runs `step`; whatever it throws is described to `report` (when set) and goes no further.
// True when `step` returned normally.
bool RunCatchingFaults(const std::string& where, const std::function<void()>& step,
                       const FaultReport& report);

}  // namespace chimewell
