#pragma once
// The configuration web server as the application starts and moves it.
#include <string>

namespace chimewell {

class ConfigServer {
 public:
  virtual ~ConfigServer() = default;
  // Stops listening (if it was), then listens on `port` on all local addresses. Returns false
  // with the reason in `error` when the port cannot be opened; the server is then stopped.
  virtual bool Listen(int port, std::string& error) = 0;
  virtual void Stop() = 0;
  // Builds what the page keeps between requests (font lists, colour grids); the deferred
  // start-up calls it once, before the first Listen.
  virtual void BuildPageCache() {}
};

}  // namespace chimewell
