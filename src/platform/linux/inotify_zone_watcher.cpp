#include "platform/linux/inotify_zone_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/platform_texts.h"

namespace chimewell {
namespace {

constexpr char kSystemZone[] = "/etc/localtime";

// Setting a zone renames a new file or link over the old one; an editor may also write it in
// place, or remove it and make it anew.
constexpr uint32_t kZoneFileEvents = IN_MOVED_TO | IN_CREATE | IN_CLOSE_WRITE | IN_DELETE;

// The file whose replacement is a change of zone, as TZ names it now.
std::string ZoneFile() {
  const char* tz = std::getenv("TZ");
  std::string zone = tz != nullptr ? tz : "";
  if (zone.starts_with(':')) zone.erase(0, 1);
  if (zone.empty()) return kSystemZone;
  if (zone.starts_with('/')) return zone;
  // A zone name is a file under the zone folder (a rule such as "JST-9" is no file and never
  // changes; watching for it costs nothing).
  const char* dir = std::getenv("TZDIR");
  return std::string(dir != nullptr && *dir != '\0' ? dir : "/usr/share/zoneinfo") + "/" + zone;
}

}  // namespace

InotifyZoneWatcher::InotifyZoneWatcher(FaultReport report) : report_(std::move(report)) {}

InotifyZoneWatcher::~InotifyZoneWatcher() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stop_fd_, &one, sizeof one);
    thread_.join();
  }
  for (const int fd : {inotify_fd_, stop_fd_}) {
    if (fd >= 0) ::close(fd);
  }
}

void InotifyZoneWatcher::Watch(std::function<void()> changed) {
  const std::filesystem::path file = ZoneFile();
  inotify_fd_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  stop_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  const std::string folder = file.parent_path().string();
  if (inotify_fd_ < 0 || stop_fd_ < 0 ||
      ::inotify_add_watch(inotify_fd_, folder.c_str(), kZoneFileEvents) < 0) {
    if (report_) report_(platform_texts::kCannotWatchZone);
    return;
  }
  thread_ = std::thread([this, name = file.filename().string(), changed = std::move(changed)] {
    RunCatchingFaults(
        "time zone", [&] { Run(name, changed); }, report_);
  });
}

void InotifyZoneWatcher::Run(const std::string& name, const std::function<void()>& changed) const {
  std::array<pollfd, 2> fds{{{inotify_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}}};
  alignas(inotify_event) std::array<char, 4096> buffer{};
  for (;;) {
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    bool ours = false;
    ssize_t n = 0;
    while ((n = ::read(inotify_fd_, buffer.data(), buffer.size())) > 0) {
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
        if (event->len > 0 && name == event->name) ours = true;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    if (ours) changed();
  }
}

}  // namespace chimewell
