// Problems found before the application exists, or on other threads, reach it through the
// event loop, and only while it is connected.
#include "app/problem_relay.h"

#include <utility>
#include <vector>

#include "app_fixture.h"
#include "platform/ui_thread.h"

namespace chimewell::testing {
namespace {

// Posted steps wait until the test lets them run, as they would for the event loop.
class QueuedUiThread final : public UiThread {
 public:
  void RunSync(const std::function<void()>& step) override { step(); }
  void Post(std::function<void()> step) override { steps_.push_back(std::move(step)); }
  void RunPosted() {
    for (const auto& step : std::exchange(steps_, {})) step();
  }

 private:
  std::vector<std::function<void()>> steps_;
};

TEST_F(AppTest, RelayedProblemsReachTheApplicationOnlyWhileItIsConnected) {
  QueuedUiThread loop;
  ProblemRelay relay(loop);
  relay.AsFunction()("sound device missing");  // found before the application is built
  Start();
  {
    const ProblemRelay::Connection connection(relay, *app);
    loop.RunPosted();
    EXPECT_NE(app->Panel().Text().find("sound device missing"), std::string::npos);
    relay.Fault("fault at the loop's edge");
    relay.Report("posted while connected");  // runs only after the connection ended
  }
  loop.RunPosted();
  relay.Fault("fault after the end");

  EXPECT_EQ(LogLinesContaining("sound device missing").size(), 1u);
  EXPECT_EQ(LogLinesContaining("fault at the loop's edge").size(), 1u);
  EXPECT_TRUE(LogLinesContaining("posted while connected").empty());
  EXPECT_TRUE(LogLinesContaining("fault after the end").empty());
}

}  // namespace
}  // namespace chimewell::testing
