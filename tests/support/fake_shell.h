#pragma once
// A desktop shell that records what it was asked to open.
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace chimewell::testing {

class FakeShell final : public Shell {
 public:
  void OpenUrl(const std::string& url) override { opened.push_back(url); }
  std::optional<std::string> ComputerName(size_t max_chars) const override {
    if (name.size() > max_chars) return std::nullopt;
    return name;
  }
  std::vector<std::string> opened;
  std::string name = "desk";
};

}  // namespace chimewell::testing
