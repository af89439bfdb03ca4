// The chimewell program itself: start, window placement, headless mode and signal-driven close.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QImage>
#include <map>
#include <memory>
#include <sstream>

#include "child_process.h"
#include "screen_pixels.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Every "key=value" of the settings file by section, to see exactly what was written.
std::map<std::string, std::string> IniKeys(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream in(text);
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') {
      section = line;
      continue;
    }
    const auto eq = line.find('=');
    keys[section + line.substr(0, eq)] = eq == std::string::npos ? "" : line.substr(eq + 1);
  }
  return keys;
}

std::vector<std::string> Command(const TempDir& home, std::vector<std::string> more = {}) {
  std::vector<std::string> argv = {CHIMEWELL_PROGRAM, "--home", home.path().string(), "--audio",
                                   "null"};
  argv.insert(argv.end(), more.begin(), more.end());
  return argv;
}

bool ExitedCleanly(const std::optional<int>& status) {
  return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

TEST(ProgramTest, CleanStartShowsTheDefaultWindowAndSigtermWritesOnlyThePlacement) {
  TempDir home;
  ChildProcess program(Command(home));
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.LineStartingWith("Configuration page: http://", 120s));

  // Nothing manages windows on this X server, so the window sits exactly where it was put.
  const QRect around(245 - 4, 106 - 4, 391 + 8, 287 + 8);
  const auto drawn = [](const QImage& shot) {
    return (shot.pixel(4 + 385, 4 + 160) & 0xFFFFFF) == testing::kDefaultBackground;
  };
  const QImage shot = testing::GrabWhen(around, drawn, 60000);
  shot.save("ui_program_window.png");
  EXPECT_TRUE(drawn(shot)) << "the clock face shows at 245,106";
  EXPECT_EQ(shot.pixel(4 + 390, 4 + 150) & 0xFFFFFF, testing::kDefaultBackground);
  EXPECT_NE(shot.pixel(4 + 392, 4 + 150) & 0xFFFFFF, testing::kDefaultBackground)
      << "the window ends after 391 pixels";
  EXPECT_NE(shot.pixel(4 + 100, 4 + 288) & 0xFFFFFF, shot.pixel(4 + 100, 4 + 285) & 0xFFFFFF)
      << "the window ends after 287 pixels";

  program.Signal(SIGTERM);
  ASSERT_TRUE(ExitedCleanly(program.Wait(60s)));
  EXPECT_EQ(IniKeys(ReadBytes(home / "chimewell.ini")),
            (std::map<std::string, std::string>{{"[App]Width", "391"},
                                                {"[App]Height", "287"},
                                                {"[App]Left", "245"},
                                                {"[App]Top", "106"}}));
  EXPECT_TRUE(std::filesystem::exists(home / "chimewell.html")) << "default page copied in";
}

TEST(ProgramTest, StoredPlacementIsRestoredAndWrittenBackKeepingOtherKeys) {
  TempDir home;
  WriteBytes(home / "chimewell.ini",
             "; mine\n[App]\nWidth=500\nHeight=300\nLeft=100\nTop=50\nPortNumber=9000\n"
             "[Config]\nSpeakOffset=300\n");
  ChildProcess program(Command(home));
  ASSERT_TRUE(program.LineStartingWith("Configuration page: http://", 120s));
  const auto drawn = [](const QImage& shot) {
    return (shot.pixel(495, 150) & 0xFFFFFF) == testing::kDefaultBackground;
  };
  EXPECT_TRUE(drawn(testing::GrabWhen(QRect(100, 50, 500, 300), drawn, 60000)));
  program.Signal(SIGTERM);
  ASSERT_TRUE(ExitedCleanly(program.Wait(60s)));
  const auto keys = IniKeys(ReadBytes(home / "chimewell.ini"));
  EXPECT_EQ(keys.at("[App]Width"), "500");
  EXPECT_EQ(keys.at("[App]Left"), "100");
  EXPECT_EQ(keys.at("[App]PortNumber"), "9000");
  EXPECT_EQ(keys.at("[Config]SpeakOffset"), "300");
  EXPECT_EQ(ReadBytes(home / "chimewell.ini").rfind("; mine", 0), 0u);
}

// True when something accepts connections on the local port.
bool Answers(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

TEST(ProgramTest, WithoutADisplayItRunsHeadlessPrintsTheAddressAndSigintClosesIt) {
  TempDir home;
  ChildProcess program(Command(home), {"DISPLAY", "WAYLAND_DISPLAY"});
  const auto line = program.LineStartingWith("Configuration page: http://", 120s);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->substr(line->size() - 6), ":8080/");
  EXPECT_TRUE(Answers(8080)) << "the address is given out before the page answers";
  program.Signal(SIGINT);
  ASSERT_TRUE(ExitedCleanly(program.Wait(60s)));
  EXPECT_EQ(IniKeys(ReadBytes(home / "chimewell.ini")).size(), 4u);
}

TEST(ProgramTest, SecondStartWithTheSameFolderSaysSoShowsTheFirstWindowAndExitsOne) {
  TempDir home;
  const int port = 20000 + getpid() % 10000;  // the clock takes ports up to 32766, not 8080 here
  // The first clock hides its window once started, so the second start's request shows.
  WriteBytes(home / "chimewell.ini",
             "[App]\nPortNumber=" + std::to_string(port) + "\n[Config]\nIconicStart=1\n");
  auto first = std::make_unique<ChildProcess>(Command(home));
  ASSERT_TRUE(first->LineStartingWith("Configuration page: http://localhost:", 120s));
  const QRect window(245, 106, 391, 287);
  const auto shows_face = [](const QImage& shot) {
    return (shot.pixel(385, 160) & 0xFFFFFF) == testing::kDefaultBackground;
  };
  EXPECT_FALSE(shows_face(testing::GrabScreen(window))) << "hidden after start-up";

  ChildProcess second(Command(home), {"DISPLAY", "WAYLAND_DISPLAY"}, true);
  EXPECT_TRUE(second.LineStartingWith("Chimewell はすでに起動しています", 60s));
  const auto status = second.Wait(60s);
  ASSERT_TRUE(status && WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 1);
  EXPECT_TRUE(shows_face(testing::GrabWhen(window, shows_face, 60000)))
      << "the running clock showed its window";
  EXPECT_TRUE(Answers(port)) << "the first clock runs on";

  // A clock killed outright leaves no lock behind: the next start runs.
  first->Signal(SIGKILL);
  first->Wait(60s);
  first.reset();
  ChildProcess third(Command(home), {"DISPLAY", "WAYLAND_DISPLAY"});
  EXPECT_TRUE(third.LineStartingWith("Configuration page: http://localhost:", 120s));
  third.Signal(SIGTERM);
  EXPECT_TRUE(ExitedCleanly(third.Wait(60s)));
}

TEST(ProgramTest, BadArgumentsGiveUsageAndStatusTwo) {
  ChildProcess program({CHIMEWELL_PROGRAM, "--frobnicate"});
  const auto status = program.Wait(60s);
  ASSERT_TRUE(status && WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 2);
  ChildProcess help({CHIMEWELL_PROGRAM, "--help"});
  EXPECT_TRUE(help.LineStartingWith("usage: chimewell", 60s));
  EXPECT_TRUE(ExitedCleanly(help.Wait(60s)));
}

}  // namespace
}  // namespace chimewell
