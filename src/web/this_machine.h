#pragma once
// Who counts as this machine: for clients (their address) and for the names a browser used
// to reach the server (the Host header).
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

// A loopback address, or one of the addresses of this machine's network interfaces (as when
// the page is opened by the computer's name). Takes the numeric form NumericAddress gives;
// anything else, the empty text included, is another machine.
bool IsThisMachineAddress(const std::string& address);

// The numeric IPv4 and IPv6 addresses of this machine's network interfaces, loopback included.
std::vector<std::string> InterfaceAddresses();

// 127.0.0.0/8 or ::1, in numeric form.
bool IsLoopbackAddress(const std::string& address);

// Whether a Host header value (with or without a port) names the loopback interface:
// "localhost", a 127.x.x.x literal or [::1].
bool IsLoopbackHost(std::string_view host);

// Whether a Host header value (with or without a port) names this server in a way no other
// site can: an IP address literal, "localhost", or this computer's name (also with ".local").
// A name that only resolves here, as an attacker's name does after DNS rebinding, does not.
bool IsThisMachineHost(std::string_view host);

// The host part of a Host header value or of an origin's authority: brackets of an IPv6
// literal kept, the port dropped.
std::string_view HostWithoutPort(std::string_view host);

}  // namespace chimewell
