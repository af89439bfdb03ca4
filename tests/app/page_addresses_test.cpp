#include "app/page_addresses.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace chimewell {
namespace {

TEST(PageAddresses, LocalhostAlwaysOtherMachinesOnlyWithRemoteAccessAndUsableAddresses) {
  const std::vector<std::string> interfaces = {"127.0.0.1",   "192.168.1.5", "::1",
                                               "fe80::1",     "fd00::5",     "::ffff:10.0.0.1",
                                               "192.168.1.5", "10.0.0.2"};
  struct Case {
    bool remote;
    std::vector<std::string> interfaces;
    std::string expected;
  };
  const Case cases[] = {
      {false, interfaces, "Configuration page: http://localhost:8080/\n"},
      {true, {"127.0.0.1", "::1", "fe80::1"}, "Configuration page: http://localhost:8080/\n"},
      {true, interfaces,
       "Configuration page: http://localhost:8080/\n"
       "From other machines, with the access password: http://192.168.1.5:8080/ "
       "http://[fd00::5]:8080/ http://10.0.0.2:8080/\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageAddressLines(8080, c.remote, c.interfaces), c.expected);
  }
}

}  // namespace
}  // namespace chimewell
