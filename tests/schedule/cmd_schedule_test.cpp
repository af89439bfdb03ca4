// Runs the schedule checker the way users do and reads what it prints.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>


namespace {

namespace fs = std::filesystem;

struct ToolResult {
  int exit_code;
  std::string out;
  std::string err;
};

class ScheduleToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("chimewell-schedule-" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "sounds");
    std::ofstream(dir_ / "sounds" / "chime.wav") << "RIFF";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteScript(const std::string& text) { std::ofstream(dir_ / "test.sch") << text; }

  ToolResult Run(const std::string& args) { return RunTool("schedule " + args); }
  ToolResult RunTool(const std::string& args) {
    const std::string err_file = (dir_ / "stderr.txt").string();
    const std::string command =
        "cd '" + dir_.string() + "' && " CHIMEWELL_TOOL_PATH " " + args + " 2>'" + err_file + "'";
    ToolResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(err_file);
    result.err.assign(std::istreambuf_iterator<char>(err), {});
    return result;
  }

  fs::path dir_;
};

TEST_F(ScheduleToolTest, ListsEveryEntryWithItsNextFiringTime) {
  WriteScript(
      "Time \"[hour][min]\" At 7:00 12:00 19:00\r\n"
      "Speak \"Good morning\" At 7:30 Repeat 2 Every Mon Tue Wed Thu Fri\r\n"
      "Wave \"sounds/chime.wav\" Skip 15 from 9:00 to 17:00\r\n"
      "Speak \"[hour]時[min]分\" ALL 0 30 from 8:00 to 22:00 Volume 40 Confirm\r\n"
      "Speak \"lunch\" BGM from 12:00 to 13:00 Every 土 日\r\n");
  const ToolResult r = Run("test.sch --at '2026/12/05 12:20:00.000' --default-volume 70");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(
      r.out,
      "0\tctTime\timAt\t25200\t0\t86400\t254\t1\t70\t0\t2026/12/06 07:00:00.000\t[hour][min]\n"
      "1\tctTime\timAt\t43200\t0\t86400\t254\t1\t70\t0\t2026/12/06 12:00:00.000\t[hour][min]\n"
      "2\tctTime\timAt\t68400\t0\t86400\t254\t1\t70\t0\t2026/12/05 19:00:00.000\t[hour][min]\n"
      "3\tctSpeak\timAt\t27000\t0\t86400\t124\t2\t70\t0\t2026/12/07 07:30:00.000\tGood morning\n"
      "4\tctWave\timSkip\t900\t32400\t61200\t254\t1\t70\t0\t2026/12/05 12:30:00.000\t"
      "sounds/chime.wav\n"
      "5\tctSpeak\timRegular\t0\t28800\t79200\t254\t1\t40\t1\t2026/12/05 13:00:00.000\t"
      "[hour]時[min]分\n"
      "6\tctSpeak\timRegular\t1800\t28800\t79200\t254\t1\t40\t1\t2026/12/05 12:30:00.000\t"
      "[hour]時[min]分\n"
      "7\tctSpeak\timBGM\t0\t43200\t46800\t130\t1\t70\t0\t2026/12/06 12:00:00.000\tlunch\n");
  const ToolResult recomputed = Run("test.sch --at '2026/12/05 12:20:00.000' --recompute");
  EXPECT_NE(recomputed.out.find("\t2026/12/05 12:00:00.000\tlunch\n"), std::string::npos);
}

TEST_F(ScheduleToolTest, ReportsBadLinesOnStderrAndExitsWithOne) {
  WriteScript("Speak Hi At 7:00\nSpeak Hi At 7:00 Every 月 Confirm 火\nMidi nowhere.mid BGM\n");
  const ToolResult r = Run("test.sch --at '2026/12/05 06:00:00.000'");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "スクリプトの 2行目8項目めにエラーがあります：'火' は知らない指定です\n"
            "スクリプトの 3行目2項目めにエラーがあります：ファイルが見つかりません: nowhere.mid\n");
  EXPECT_EQ(r.out,
            "0\tctSpeak\timAt\t25200\t0\t86400\t254\t1\t100\t0\t2026/12/05 07:00:00.000\tHi\n");
}

TEST_F(ScheduleToolTest, ListsUpcomingFiringsInTimeOrder) {
  WriteScript("Speak A At 9:30\nWave sounds/chime.wav Skip 30 from 9:00 to 10:00\n");
  const ToolResult r = Run("test.sch --at '2026/12/05 09:10:00.000' --upcoming 4");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out,
            "2026/12/05 09:30:00.000\t話す\tA\n"
            "2026/12/05 09:30:00.000\tWAVE\tsounds/chime.wav\n"
            "2026/12/05 10:00:00.000\tWAVE\tsounds/chime.wav\n"
            "2026/12/06 09:00:00.000\tWAVE\tsounds/chime.wav\n");
}

TEST_F(ScheduleToolTest, UpcomingFiringsSkipTheDaysOffBesideTheScriptOrOfTheHomeFolder) {
  const std::string script = "Speak A At 9:30 NoHoliday\nSpeak B At 9:00 OnHoliday\n";
  WriteScript(script);
  std::ofstream(dir_ / "chimewell.sch") << script;
  const std::string at = " --at '2026/12/05 09:10:00.000' --upcoming 3";
  // The script named, the script beside the days off, and the home's own schedule.
  const std::string ways[] = {"test.sch" + at + " --home .", "test.sch" + at, at + " --home ."};
  // No holiday file: no days off of the user's own.
  EXPECT_EQ(Run(ways[0]).out,
            "2026/12/05 09:30:00.000\t話す\tA\n"
            "2026/12/06 09:30:00.000\t話す\tA\n"
            "2026/12/07 09:30:00.000\t話す\tA\n");
  std::ofstream(dir_ / "chimewell.hol") << "2026/12/06 休み\n";
  for (const std::string& args : ways) {
    const ToolResult r = Run(args);
    EXPECT_EQ(r.exit_code, 0) << args << r.err;
    EXPECT_EQ(r.out,
              "2026/12/05 09:30:00.000\t話す\tA\n"
              "2026/12/06 09:00:00.000\t話す\tB\n"
              "2026/12/07 09:30:00.000\t話す\tA\n")
        << args;
  }
}

TEST_F(ScheduleToolTest, UsageErrorsAndUnreadableFilesExitWithTwo) {
  WriteScript("Speak Hi At 7:00\n");
  for (const char* args :
       {"--home nowhere", "test.sch --at tomorrow", "test.sch --at",
        "test.sch --default-volume 101", "test.sch --upcoming 0", "test.sch --frobnicate",
        "test.sch other.sch", "missing.sch --at '2026/12/05 06:00:00.000'", "test.sch --home"}) {
    const ToolResult r = Run(args);
    EXPECT_EQ(r.exit_code, 2) << args;
    EXPECT_NE(r.err, "") << args;
    EXPECT_EQ(r.out, "") << args;
  }
  // A mistyped command is named before the usage.
  const ToolResult typo = RunTool("shedule test.sch");
  EXPECT_EQ(typo.exit_code, 2);
  EXPECT_TRUE(typo.err.starts_with("unknown command: shedule\nusage: chimewell-tool COMMAND"))
      << typo.err;
}

}  // namespace
