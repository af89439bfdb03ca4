#include "app/autostart.h"

#include <filesystem>
#include <system_error>

#include "core/atomic_file.h"

namespace chimewell {

namespace fs = std::filesystem;

namespace {

// A desktop entry's string value: backslashes and line breaks written as escapes.
std::string DesktopString(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

bool AutostartEnabled(const AutostartEntry& entry) {
  std::error_code ec;
  return !entry.path.empty() && fs::is_regular_file(entry.path, ec);
}

std::string AutostartDesktopEntry(const AutostartEntry& entry) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Chimewell\n"
         "Comment=Talking clock\n"
         "Exec=" + entry.command + "\n" +
         (entry.program.empty() ? std::string() : "TryExec=" + DesktopString(entry.program) + "\n") +
         "Icon=" + entry.icon + "\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

void SetAutostart(const AutostartEntry& entry, bool enabled) {
  if (entry.path.empty()) throw FileWriteError("autostart");
  std::error_code ec;
  if (!enabled) {
    if (!fs::remove(entry.path, ec) && ec) throw FileWriteError(entry.path);
    return;
  }
  fs::create_directories(fs::path(entry.path).parent_path(), ec);
  ReplaceFile(entry.path, AutostartDesktopEntry(entry));
}

}  // namespace chimewell
