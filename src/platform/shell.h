#pragma once
// The desktop shell: open an address in the user's browser, and the computer's name.
#include <optional>
#include <string>

namespace chimewell {

class Shell {
 public:
  virtual ~Shell() = default;
  // Asks the desktop to open `url` (in the user's web browser); returns at once.
  virtual void OpenUrl(const std::string& url) = 0;
  // The computer's name, at most `max_chars` characters; nullopt when it cannot be had.
  virtual std::optional<std::string> ComputerName(size_t max_chars) const = 0;
};

class DesktopShell final : public Shell {
 public:
  void OpenUrl(const std::string& url) override;
  std::optional<std::string> ComputerName(size_t max_chars) const override;
};

}  // namespace chimewell
