#pragma once
// A private session bus for tests: dbus-daemon on a socket in a folder of its own, named to
// this process (and its children) through DBUS_SESSION_BUS_ADDRESS.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/audio_test_support.h"
#include "platform/linux/child_process.h"

namespace chimewell::testing {

class SessionBus {
 public:
  SessionBus() : dir_(TempPath("bus")) { std::filesystem::create_directories(dir_); }
  ~SessionBus() {
    Stop();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;

  static bool Installed() { return std::system("command -v dbus-daemon >/dev/null") == 0; }

  // Starts the daemon and waits (generously) until its socket is there.
  bool Start() {
    const std::string socket = dir_ + "/bus";
    if (!process_.Start({"dbus-daemon", "--session", "--nofork", "--nopidfile",
                         "--address=unix:path=" + socket})) {
      return false;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + socket).c_str(), 1);
    return WaitUntil(std::chrono::seconds(10), [&] {
      std::error_code ec;
      return std::filesystem::is_socket(socket, ec);
    });
  }
  void Stop() {
    process_.Kill();
    process_.Wait();
  }

 private:
  std::string dir_;
  ChildProcess process_;
};

}  // namespace chimewell::testing
