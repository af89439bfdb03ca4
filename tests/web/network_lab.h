#pragma once
// Two network namespaces joined by a virtual cable, made for one test and removed after it:
// "here", where the server runs, with the address 10.77.0.1 beside loopback, and "there",
// another machine at 10.77.0.2. Traffic never leaves them. Making them needs root.
#include <functional>
#include <string>

namespace chimewell::testing {

class NetworkLab {
 public:
  static constexpr const char* kHereAddress = "10.77.0.1";
  static constexpr const char* kThereAddress = "10.77.0.2";

  NetworkLab();
  ~NetworkLab();
  NetworkLab(const NetworkLab&) = delete;
  NetworkLab& operator=(const NetworkLab&) = delete;

  // False when the namespaces could not be made (not root, no `ip`): the test is skipped.
  bool ready() const { return ready_; }

  // Runs `work` on a thread of its own inside that namespace and waits for it. Sockets made
  // there, and threads started from there, stay there.
  void Here(const std::function<void()>& work) const { RunIn(here_, work); }
  void There(const std::function<void()>& work) const { RunIn(there_, work); }

 private:
  static void RunIn(const std::string& name, const std::function<void()>& work);

  std::string here_;
  std::string there_;
  bool ready_ = false;
};

}  // namespace chimewell::testing
