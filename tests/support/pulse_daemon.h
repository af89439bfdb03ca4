#pragma once
// A private PulseAudio daemon for tests: its own runtime folder and socket, no card, no
// autospawn, a null sink; the test starts, freezes, kills and restarts it.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_test_support.h"
#include "platform/linux/child_process.h"

namespace chimewell::testing {

// Runs a program to its end; true when it succeeded.
inline bool Run(const std::vector<std::string>& argv) {
  ChildProcess child;
  return child.Start(argv) && child.Wait();
}

// A private daemon: its own runtime folder and socket, no autospawn, nothing but a null sink.
class PulseDaemon {
 public:
  PulseDaemon() : dir_(TempPath("pulse")) {
    std::filesystem::create_directories(dir_);
    socket_ = dir_ + "/native";
    // Every pulse client of this process and its children talks to this daemon only.
    setenv("HOME", dir_.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + socket_).c_str(), 1);
    setenv("PULSE_CLIENTCONFIG", "/dev/null", 1);
  }
  ~PulseDaemon() {
    Kill();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  static bool Installed() { return Run({"sh", "-c", "command -v pulseaudio && command -v parec"}); }

  // `modules` are loaded besides the null sink, each as "name arguments".
  bool Start(const std::vector<std::string>& modules = {}) {
    process_ = std::make_unique<ChildProcess>();
    // Started through a shell that notes its process id, so the test can freeze the daemon.
    const std::string pid_file = dir_ + "/pid";
    std::vector<std::string> argv = {
        "sh",
        "-c",
        "echo $$ > " + pid_file + "; exec \"$0\" \"$@\"",
        "pulseaudio",
        "-n",
        "--daemonize=no",
        "--exit-idle-time=-1",
        "--use-pid-file=no",
        "--disable-shm=yes",
        "--log-target=stderr",
        "-L",
        "module-native-protocol-unix socket=" + socket_ + " auth-anonymous=1",
        "-L",
        "module-null-sink sink_name=chimewell_test rate=48000"};
    for (const std::string& module : modules) argv.insert(argv.end(), {"-L", module});
    if (!process_->Start(argv)) return false;
    for (int i = 0; i < 100; ++i) {
      if (Run({"pactl", "info"})) {
        std::ifstream(pid_file) >> pid_;
        return pid_ > 0;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // A wedged server: it keeps its socket but answers nothing until thawed.
  void Freeze() { ::kill(pid_, SIGSTOP); }
  void Thaw() { ::kill(pid_, SIGCONT); }
  void Kill() {
    if (!process_) return;
    Thaw();
    process_->Kill();
    process_->Wait();
    process_.reset();
    pid_ = 0;
    ::unlink(socket_.c_str());
  }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  std::string socket_;
  std::unique_ptr<ChildProcess> process_;
  pid_t pid_ = 0;
};

}  // namespace chimewell::testing
