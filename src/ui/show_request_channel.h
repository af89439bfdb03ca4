#pragma once
// How another process of the same user reaches the running clock: a second start asks it to
// show its window (a connection that sends nothing), a desktop shortcut asks it to act (a
// connection that sends one line, answered with one line). The clock listens on a local
// socket named after its settings folder.
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace chimewell {

// The socket's name for the folder whose lock file is `lock_file`.
std::string ShowRequestName(const std::string& lock_file);

// Listens on the GUI thread; `on_request` and `on_line` run there. Owned by the GUI thread.
class ShowRequestListener {
 public:
  using LineHandler = std::function<std::string(std::string_view)>;

  ShowRequestListener(const std::string& name, std::function<void()> on_request);
  ~ShowRequestListener();
  ShowRequestListener(const ShowRequestListener&) = delete;
  ShowRequestListener& operator=(const ShowRequestListener&) = delete;

  bool Listening() const { return fd_ >= 0; }
  // Answers the lines of later connections; without it they are told the clock cannot act.
  void OnLine(LineHandler on_line) { on_line_ = std::move(on_line); }

 private:
  struct Client {
    std::string bytes;
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<QTimer> deadline;
  };

  void Accept();
  void Read(int client);
  // The client sent all it will: an empty request shows the window, a line is answered.
  void Finish(int client);
  void Drop(int client);

  int fd_ = -1;
  std::function<void()> on_request_;
  LineHandler on_line_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::map<int, Client> clients_;
};

// Sends the request to the clock listening under `name`; false when none answers.
bool RequestShow(const std::string& name);

}  // namespace chimewell
