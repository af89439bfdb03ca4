#pragma once
// A private mosquitto broker for tests: its own configuration and persistence folder, on a
// free loopback port; the test starts, kills and restarts it on the same port.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/temp_dir.h"

extern char** environ;

namespace chimewell::testing {

class MosquittoBroker {
 public:
  MosquittoBroker() : port_(FreeLoopbackPort()) {
    std::ofstream(dir_ / "mosquitto.conf")
        << "listener " << port_ << " 127.0.0.1\n"
        << "allow_anonymous true\n"
        << "persistence true\npersistence_location " << dir_.path().string() << "/\n"
        << "log_dest file " << dir_.path().string()
        << "/log\nlog_type all\n"
        // Started by root it would change to the mosquitto user, who may not write here.
        << "user " << ::getpwuid(::getuid())->pw_name << "\n";
  }
  ~MosquittoBroker() { Kill(SIGKILL); }
  MosquittoBroker(const MosquittoBroker&) = delete;
  MosquittoBroker& operator=(const MosquittoBroker&) = delete;

  int port() const { return port_; }
  std::string Log() const { return ReadBytes(dir_ / "log"); }
  std::string address() const { return "mqtt://127.0.0.1:" + std::to_string(port_); }

  // Starts it and waits until it accepts connections; false when it did not within 10 s.
  bool Start() {
    const std::string conf = (dir_ / "mosquitto.conf").string();
    const char* argv[] = {"mosquitto", "-c", conf.c_str(), nullptr};
    if (posix_spawnp(&pid_, "mosquitto", nullptr, nullptr, const_cast<char**>(argv), environ) !=
        0) {
      pid_ = -1;
      return false;
    }
    for (int i = 0; i < 200; ++i) {
      if (Accepts()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // SIGTERM saves the sessions and what waits for them; SIGKILL loses what was not saved.
  void Kill(int signal = SIGTERM) {
    if (pid_ <= 0) return;
    ::kill(pid_, signal);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  bool Accepts() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
  }
  static int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
  }

  TempDir dir_;
  int port_;
  pid_t pid_ = -1;
};

}  // namespace chimewell::testing
