#pragma once
// The user's days off from a home folder's holiday file, as the tools read them: no file means
// no days, and each refused line is told on standard error while the good ones count.
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "core/holiday_file.h"
#include "core/text_encoding.h"
#include "platform/file_system.h"

namespace chimewell::tool {

struct HomeHolidays {
  std::vector<UserHoliday> days;
  bool readable = true;  // false: the file is there but could not be read
  bool clean = true;     // false: a line was refused
};

// The days off of the holiday file at `path`.
inline HomeHolidays ReadHolidayFileAt(const FileSystem& files, const std::string& path) {
  HomeHolidays read;
  if (!files.FileExists(path)) return read;
  const auto bytes = files.ReadFile(path, FileKind::kScript);
  if (!bytes) {
    read.readable = false;
    return read;
  }
  HolidayFileContents contents = ParseHolidayFile(DecodeFileText(*bytes));
  for (const HolidayFileProblem& problem : contents.problems) {
    std::fprintf(stderr, "%s\n", problem.text.c_str());
  }
  read.days = std::move(contents.days);
  read.clean = contents.problems.empty();
  return read;
}

inline HomeHolidays ReadHomeHolidays(const FileSystem& files, const std::string& home) {
  return ReadHolidayFileAt(files, PathsInHome(home).holidays);
}

}  // namespace chimewell::tool
