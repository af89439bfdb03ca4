#pragma once
// The running clock's local socket, as another process of the same user reaches it: its name
// for a settings folder, and one request sent and answered over it.
#include <optional>
#include <string>
#include <string_view>

namespace chimewell {

// The socket's name for the folder whose lock file is `lock_file`: the same for every start
// that uses that folder, and different for every user. An abstract socket address: it has no
// file, so a killed clock leaves nothing behind and the folder's path length does not matter.
std::string InstanceChannelName(const std::string& lock_file);
// The lock file that stands for the folder of `settings_file`.
std::string InstanceLockFile(const std::string& settings_file);

// A listening socket under `name` (non-blocking, closed on exec); -1 when the name is taken.
int ListenOnInstanceChannel(const std::string& name, int backlog);
// Connects to the clock listening under `name` and hangs up: asks it to show its window. False
// when none listens.
bool PokeInstance(const std::string& name);

// Connects to the clock listening under `name`, sends `line` and a line end, and returns the
// clock's one-line answer; none when no clock answers within `timeout_ms`.
std::optional<std::string> SendInstanceRequest(const std::string& name, std::string_view line,
                                               int timeout_ms);

}  // namespace chimewell
