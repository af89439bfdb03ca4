#pragma once
// A private PipeWire with its pulse service for tests, as today's desktops run it: pipewire,
// wireplumber and pipewire-pulse in a runtime folder of their own, with a session bus of their
// own (named to them only, so the test's process sees none), and no device of the machine: the
// session manager is told to leave the cards, cameras and Bluetooth alone.
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_test_support.h"
#include "platform/linux/child_process.h"
#include "support/pulse_daemon.h"

namespace chimewell::testing {

class PipeWireDaemon {
 public:
  PipeWireDaemon() : dir_(TempPath("pipewire")) {
    namespace fs = std::filesystem;
    fs::create_directories(dir_ + "/config/wireplumber/main.lua.d");
    fs::create_directories(dir_ + "/config/wireplumber/bluetooth.lua.d");
    std::ofstream(dir_ + "/config/wireplumber/main.lua.d/60-private.lua")
        << "alsa_monitor.enabled = false\n"
           "v4l2_monitor.enabled = false\n"
           "libcamera_monitor.enabled = false\n";
    std::ofstream(dir_ + "/config/wireplumber/bluetooth.lua.d/60-private.lua")
        << "bluez_monitor.enabled = false\n";
    setenv("HOME", dir_.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (dir_ + "/state").c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + dir_ + "/pulse/native").c_str(), 1);
    setenv("PULSE_CLIENTCONFIG", "/dev/null", 1);
  }
  ~PipeWireDaemon() {
    Stop();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  PipeWireDaemon(const PipeWireDaemon&) = delete;
  PipeWireDaemon& operator=(const PipeWireDaemon&) = delete;

  static bool Installed() {
    return Run({"sh", "-c",
                "command -v pipewire && command -v pipewire-pulse && command -v wireplumber && "
                "command -v dbus-daemon && command -v pactl"});
  }

  // Starts the bus and the three programs, and waits (generously) until the pulse service
  // answers and the session manager has given it a sink.
  bool Start() {
    // Not "bus" in the runtime folder, where the test's own process would find it too.
    const std::string bus = "unix:path=" + dir_ + "/services-bus";
    if (!Launch({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + bus})) {
      return false;
    }
    const std::string with_bus = "DBUS_SESSION_BUS_ADDRESS=" + bus;
    // Its clients connect once, so the session manager and the pulse service wait for it.
    const std::string socket = dir_ + "/pipewire-0";
    if (!Launch({"env", with_bus, "pipewire"}) || !WaitUntil(std::chrono::seconds(10), [&] {
          std::error_code ec;
          return std::filesystem::is_socket(socket, ec);
        })) {
      return false;
    }
    for (const char* program : {"wireplumber", "pipewire-pulse"}) {
      if (!Launch({"env", with_bus, program})) return false;
    }
    return WaitUntil(std::chrono::seconds(20), [] {
      return Run({"sh", "-c", "pactl list short sinks | grep -q ."});
    });
  }
  // A stand-in for a microphone: a source that records nothing.
  static bool AddMicrophone(const std::string& name) {
    return Run({"pactl", "load-module", "module-null-sink", "media.class=Audio/Source/Virtual",
                "sink_name=" + name});
  }
  void Stop() {
    // The service first, the bus last.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
      (*it)->Kill();
      (*it)->Wait();
    }
    processes_.clear();
  }
  const std::string& dir() const { return dir_; }

 private:
  bool Launch(const std::vector<std::string>& argv) {
    processes_.push_back(std::make_unique<ChildProcess>());
    return processes_.back()->Start(argv);
  }

  std::string dir_;
  std::vector<std::unique_ptr<ChildProcess>> processes_;
};

}  // namespace chimewell::testing
