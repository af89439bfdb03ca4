#pragma once
// Carries problems to the application: sound and speech problems found on their own threads,
// some before the application exists, and faults caught at the event loop's edge.
#include <functional>
#include <string>

namespace chimewell {

class Application;
class UiThread;

// The UI thread owns the connection to the application; Report may be called from any thread.
// Build it before the pieces that report through it, so that it outlives them.
class ProblemRelay {
 public:
  explicit ProblemRelay(UiThread& ui) : ui_(ui) {}
  ProblemRelay(const ProblemRelay&) = delete;
  ProblemRelay& operator=(const ProblemRelay&) = delete;

  // Any thread. The problem is logged and shown in the message panel by the event loop, which
  // runs it after the first showing; when no application is connected by then it is dropped.
  void Report(const std::string& message);
  // Report as a function, for the pieces that take one.
  std::function<void(const std::string&)> AsFunction() {
    return [this](const std::string& message) { Report(message); };
  }
  // UI thread: a fault caught at the event loop's edge or on one of our threads.
  void Fault(const std::string& text);

  // While a Connection lives, problems reach `app`. Make it right after the application, and
  // let it end before the application does.
  class Connection {
   public:
    Connection(ProblemRelay& relay, Application& app);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

   private:
    ProblemRelay& relay_;
  };

 private:
  UiThread& ui_;
  Application* app_ = nullptr;  // set only while a Connection lives
};

}  // namespace chimewell
