#pragma once
// How a second start of the program asks the running clock to show its window: the running
// clock listens on a local socket named after its settings folder, and a connection from the
// same user is the request.
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

namespace chimewell {

// The socket's name for the folder whose lock file is `lock_file`: the same for every start
// that uses that folder, and different for every user.
std::string ShowRequestName(const std::string& lock_file);

// Listens on the GUI thread; `on_request` runs there for each request.
class ShowRequestListener {
 public:
  ShowRequestListener(const std::string& name, std::function<void()> on_request);
  ~ShowRequestListener();
  ShowRequestListener(const ShowRequestListener&) = delete;
  ShowRequestListener& operator=(const ShowRequestListener&) = delete;

  bool Listening() const { return fd_ >= 0; }

 private:
  void Accept();

  int fd_ = -1;
  std::function<void()> on_request_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

// Sends the request to the clock listening under `name`; false when none answers.
bool RequestShow(const std::string& name);

}  // namespace chimewell
