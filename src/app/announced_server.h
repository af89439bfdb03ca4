#pragma once
// A configuration server that tells each time it starts listening, or fails to, so that the
// page's address is given out only once it answers. A failure is told once until the next
// start or another failure: a port tried again every few seconds is not told each time.
#include <functional>
#include <string>
#include <utility>

#include "app/config_server.h"
#include "app/texts.h"

namespace chimewell {

class AnnouncedServer final : public ConfigServer {
 public:
  using Listening = std::function<void(int port)>;
  using Failed = std::function<void(const std::string& error)>;

  AnnouncedServer(ConfigServer& server, Listening listening, Failed failed)
      : server_(server), listening_(std::move(listening)), failed_(std::move(failed)) {}

  bool Listen(int port, std::string& error) override {
    if (!server_.Listen(port, error)) {
      const std::string told = std::to_string(port) + " " + error;
      if (told != last_failure_) failed_(texts::PortUnavailable(port, error));
      last_failure_ = told;
      return false;
    }
    last_failure_.clear();
    listening_(port);
    return true;
  }
  void Stop() override { server_.Stop(); }
  void BuildPageCache() override { server_.BuildPageCache(); }

 private:
  ConfigServer& server_;
  const Listening listening_;
  const Failed failed_;
  std::string last_failure_;
};

}  // namespace chimewell
