#include "app/file_locations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/autostart.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using ::testing::HasSubstr;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const InstallLayout kUsrLayout{"/usr/bin", "/usr/share/chimewell", "io.example.Clock"};

TEST(FileLocations, ChoosesHomeThenAWritableFolderOfItsOwnThenTheConfigFolder) {
  struct Case {
    const char* what;
    std::optional<std::string> home;
    const char* executable;
    bool writable;
    FilesPlace place;
    const char* folder;
  };
  const Case cases[] = {
      {"--home wins over all", "/srv/cw", "/usr/bin/chimewell", false, FilesPlace::kHomeOption,
       "/srv/cw"},
      {"installed, read-only", std::nullopt, "/usr/bin/chimewell", false,
       FilesPlace::kUserConfig, "/home/u/.config/chimewell"},
      {"installed, but root may write there", std::nullopt, "/usr/bin/chimewell", true,
       FilesPlace::kUserConfig, "/home/u/.config/chimewell"},
      {"the install folder named another way", std::nullopt, "/usr/bin/../bin/chimewell", true,
       FilesPlace::kUserConfig, "/home/u/.config/chimewell"},
      {"a build tree", std::nullopt, "/work/build/src/chimewell", true,
       FilesPlace::kBesideProgram, "/work/build/src"},
      {"a copy the user cannot write beside", std::nullopt, "/opt/cw/chimewell", false,
       FilesPlace::kUserConfig, "/home/u/.config/chimewell"},
  };
  for (const Case& c : cases) {
    const FilesFolder chosen =
        ChooseFilesFolder(c.home, {c.executable, c.writable}, kUsrLayout, "/home/u/.config");
    EXPECT_EQ(chosen.place, c.place) << c.what;
    EXPECT_EQ(chosen.folder, c.folder) << c.what;
  }
  // Without a known config folder an installed program has nowhere to keep its files.
  EXPECT_EQ(ChooseFilesFolder(std::nullopt, {"/usr/bin/chimewell", false}, kUsrLayout, "").folder,
            "");
}

TEST(FileLocations, ConfigHomeFollowsTheXdgRuleAndIgnoresRelativeValues) {
  EXPECT_EQ(UserConfigHome("/x/conf", "/home/u"), "/x/conf");
  EXPECT_EQ(UserConfigHome(nullptr, "/home/u"), "/home/u/.config");
  EXPECT_EQ(UserConfigHome("", "/home/u"), "/home/u/.config");
  EXPECT_EQ(UserConfigHome("conf", "/home/u"), "/home/u/.config");
  EXPECT_EQ(UserConfigHome(nullptr, nullptr), "");
  EXPECT_EQ(UserConfigHome(nullptr, "relative"), "");
}

TEST(FileLocations, TheLoginEntryRunsTheSameProgramWithTheSameHome) {
  EXPECT_EQ(AutostartCommand("/usr/bin/chimewell", std::nullopt), "/usr/bin/chimewell");
  EXPECT_EQ(AutostartCommand("/opt/my clock/chimewell", "/srv/a b"),
            "\"/opt/my clock/chimewell\" --home \"/srv/a b\"");
  // Quoted and escaped as the desktop entry's Exec key wants: 100% and a dollar sign.
  EXPECT_EQ(AutostartCommand("/opt/100%/$x/chimewell", std::nullopt),
            "\"/opt/100%%/\\\\$x/chimewell\"");
}

// An installed tree in a staging folder: bin/ and share/chimewell/ with the default files.
struct StagedInstall {
  StagedInstall() {
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(root / "usr/share/chimewell/doc");
    WriteBytes(root / "usr/share/chimewell/chimewell.html", "default page");
    WriteBytes(root / "usr/share/chimewell/doc/index.html", "guide");
    layout = {(root / "usr/bin").string(), (root / "usr/share/chimewell").string(), "io.x.Y"};
    program = {(root / "usr/bin/chimewell").string(), true};
  }
  TempDir root;
  InstallLayout layout;
  ProgramLocation program;
};

TEST(FileLocations, AnInstalledProgramMakesItsConfigFolderWithTheDefaultPage) {
  StagedInstall install;
  TempDir home;
  const std::string config = (home / ".config").string();
  std::string error;
  auto paths = ResolveAppPaths(std::nullopt, install.program, install.layout, config, error);
  ASSERT_TRUE(paths) << error;
  EXPECT_EQ(paths->settings, (home / ".config/chimewell/chimewell.ini").string());
  EXPECT_EQ(paths->schedule, (home / ".config/chimewell/chimewell.sch").string());
  EXPECT_EQ(ReadBytes(paths->page_template), "default page");
  EXPECT_EQ(paths->user_guide, (install.root / "usr/share/chimewell/doc/index.html").string());
  EXPECT_EQ(paths->autostart.path, (home / ".config/autostart/io.x.Y.desktop").string());
  EXPECT_EQ(paths->autostart.icon, "io.x.Y");

  // The user's own page template is never replaced.
  WriteBytes(paths->page_template, "my page");
  paths = ResolveAppPaths(std::nullopt, install.program, install.layout, config, error);
  ASSERT_TRUE(paths) << error;
  EXPECT_EQ(ReadBytes(paths->page_template), "my page");
}

TEST(FileLocations, AMovedInstallFindsItsDataBesideItsOwnBinFolder) {
  StagedInstall install;
  // Built for /usr, found in the staging folder: the data lies at the same relative place.
  const InstallLayout built_for{"/usr/bin", "/usr/share/chimewell", "io.x.Y"};
  const ProgramData data = FindProgramData(install.program.executable, built_for);
  EXPECT_EQ(data.page_template, (install.root / "usr/share/chimewell/chimewell.html").string());
  EXPECT_EQ(data.user_guide, (install.root / "usr/share/chimewell/doc/index.html").string());
}

TEST(FileLocations, APortableCopyAndHomeKeepTheFilesWhereTheyWere) {
  StagedInstall install;
  TempDir portable;
  WriteBytes(portable / "myclock.html", "portable page");
  const ProgramLocation copy{(portable / "myclock").string(), true};
  std::string error;
  const auto beside = ResolveAppPaths(std::nullopt, copy, install.layout, "", error);
  ASSERT_TRUE(beside) << error;
  EXPECT_EQ(beside->settings, (portable / "myclock.ini").string());
  EXPECT_EQ(ReadBytes(beside->page_template), "portable page");
  EXPECT_EQ(beside->autostart.path, "");  // no config folder: the login box cannot work

  const auto home = ResolveAppPaths((portable / "h").string(), install.program, install.layout,
                                    "", error);
  ASSERT_TRUE(home) << error;
  EXPECT_EQ(home->app_info, (portable / "h/chimewell.imi").string());
  EXPECT_EQ(ReadBytes(home->page_template), "default page");
  EXPECT_THAT(home->autostart.command, HasSubstr("--home " + (portable / "h").string()));

  WriteBytes(portable / "file", "");
  EXPECT_FALSE(ResolveAppPaths((portable / "file").string(), copy, install.layout, "", error));
  EXPECT_THAT(error, HasSubstr("file"));
}

TEST(Autostart, TheEntryIsWrittenAndRemoved) {
  TempDir config;
  const AutostartEntry entry{(config / "autostart/io.x.Y.desktop").string(),
                             "\"/opt/my clock/chimewell\" --home /x", "io.x.Y",
                             "/opt/my clock/chimewell"};
  EXPECT_FALSE(AutostartEnabled(entry));
  SetAutostart(entry, true);
  EXPECT_TRUE(AutostartEnabled(entry));
  // Once the program is gone, TryExec has desktops skip the entry rather than start nothing.
  EXPECT_THAT(ReadBytes(entry.path),
              HasSubstr("\nExec=\"/opt/my clock/chimewell\" --home /x\n"
                        "TryExec=/opt/my clock/chimewell\nIcon=io.x.Y\n"));
  // The desktop's own checker, where it is installed, finds nothing to complain about.
  if (std::filesystem::exists("/usr/bin/desktop-file-validate")) {
    EXPECT_EQ(std::system(("/usr/bin/desktop-file-validate '" + entry.path + "'").c_str()), 0);
  }
  SetAutostart(entry, false);
  EXPECT_FALSE(AutostartEnabled(entry));
  SetAutostart(entry, false);  // already gone: nothing to do
  EXPECT_THROW(SetAutostart({"", "x", "y"}, true), std::runtime_error);
}

}  // namespace
}  // namespace chimewell
