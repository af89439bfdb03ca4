#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "core/speech_text.h"

namespace chimewell {
namespace {

struct Result {
  std::string out;
  int exit_code;
};

// Single quotes keep the shell from touching the arguments (none of ours contain one).
Result RunTool(const std::string& args) {
  const std::string command = std::string("'") + CHIMEWELL_TOOL_PATH + "' " + args + " 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  std::string out;
  std::array<char, 256> buffer{};
  while (const size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(ExpandTool, PrintsTheExpansionOfTheTemplate) {
  const Result r =
      RunTool("expand '[wa] [mon] [day] [wday] [AMPM][HOUR][MIN]です' '2004/03/15 15:00:00'");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, ExpandSpeechText("[wa] [mon] [day] [wday] [AMPM][HOUR][MIN]です",
                                    *ParseDateTime("2004/03/15 15:00:00")) +
                       "\n");
  EXPECT_EQ(r.out, "平成16年 3月 15日 月曜日 午後3時0分です\n");
  EXPECT_EQ(RunTool("expand '' '2019/05/01 00:00:00'").out, "\n");
}

TEST(ExpandTool, RejectsABadMomentOrArgumentCount) {
  for (const char* args : {"expand '[hour]' '2004/02/30 15:00:00'", "expand '[hour]' 'now'",
                           "expand '[hour]'", "expand a b c"}) {
    const Result r = RunTool(args);
    EXPECT_EQ(r.exit_code, 2) << args;
    EXPECT_EQ(r.out, "") << args;
  }
}

}  // namespace
}  // namespace chimewell
