#include "web/network_lab.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace chimewell::testing {
namespace {

bool Run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

NetworkLab::NetworkLab()
    : here_("chimewell-here-" + std::to_string(getpid())),
      there_("chimewell-there-" + std::to_string(getpid())) {
  if (geteuid() != 0) return;
  const std::string in_here = "ip -n " + here_ + " ";
  const std::string in_there = "ip -n " + there_ + " ";
  ready_ = Run("ip netns add " + here_) && Run("ip netns add " + there_) &&
           Run(in_here + "link set lo up") && Run(in_there + "link set lo up") &&
           Run(in_here + "link add cw0 type veth peer name cw1 netns " + there_) &&
           Run(in_here + "addr add " + kHereAddress + "/24 dev cw0") &&
           Run(in_there + "addr add " + kThereAddress + "/24 dev cw1") &&
           Run(in_here + "link set cw0 up") && Run(in_there + "link set cw1 up");
}

NetworkLab::~NetworkLab() {
  Run("ip netns del " + here_);  // takes the cable with it
  Run("ip netns del " + there_);
}

void NetworkLab::RunIn(const std::string& name, const std::function<void()>& work) {
  std::thread([&] {
    const int fd = open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    const bool entered = fd >= 0 && setns(fd, CLONE_NEWNET) == 0;
    if (fd >= 0) close(fd);
    if (entered) {
      work();
    } else {
      ADD_FAILURE() << "cannot enter the network namespace " << name;
    }
  }).join();
}

}  // namespace chimewell::testing
