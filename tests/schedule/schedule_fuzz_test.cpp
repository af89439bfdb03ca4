// Throws random bytes and random mixtures of the script's own words at the line parser; the
// sanitizers catch any crash or out-of-bounds read, the checks catch broken results.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "support/memory_file_system.h"
#include "schedule/next_time.h"
#include "schedule/schedule_parser.h"
#include "schedule/script_lexer.h"

namespace chimewell {
namespace {

// Parses one line and checks what the parser promises about any result.
void ParseAndCheck(const std::string& line, const FileSystem& files, ParsedScheduleLine& parsed,
                   uint32_t seed) {
  parsed.volume = 50;
  const int result = ParseScheduleLine(line, files, parsed);
  if (result == kScheduleComment) return;
  ASSERT_GE(result, kScheduleLineValid) << "seed " << seed;
  if (result >= 0) {
    ASSERT_LE(result, static_cast<int>(parsed.items.size())) << "seed " << seed;
    return;
  }
  ASSERT_GE(parsed.items.size(), 2u);
  ASSERT_FALSE(parsed.times.empty());
  ASSERT_TRUE(parsed.from_time >= 0 && parsed.from_time < parsed.to_time &&
              parsed.to_time <= kEndOfDaySeconds);
  ASSERT_NE(parsed.weekdays & kEveryWeekday, 0);
  ASSERT_TRUE(parsed.volume >= 1 && parsed.volume <= 100);
  ASSERT_GE(parsed.repeat, 1);
  // Whatever the parser accepts has a next firing time, strictly ahead of the moment asked.
  const TDateTime now = 46000.0 + (seed % 86400000) / kMsPerDay;
  for (const int seconds : parsed.times) {
    TSchedule e;
    e.Cmd = parsed.command;
    e.Mode = parsed.mode;
    e.Seconds = seconds;
    e.FromTime = parsed.from_time;
    e.ToTime = parsed.to_time;
    e.Weekdays = parsed.weekdays;
    ASSERT_GT(NextFiringTime(e, now, 0, HolidayCalendar()), now) << line;
  }
}

TEST(ScheduleParserFuzz, RandomBytes) {
  testing::MemoryFileSystem files;
  ParsedScheduleLine parsed;
  std::mt19937 rng(12345);
  // Bytes weighted towards the characters the grammar cares about.
  constexpr std::string_view kInteresting = " ,\t\"'#:.0123456789\r\n\x01";
  for (uint32_t n = 0; n < 100000; ++n) {
    std::string line(rng() % 40, '\0');
    for (char& c : line) {
      c = rng() % 2 ? kInteresting[rng() % kInteresting.size()] : static_cast<char>(rng());
    }
    ParseAndCheck(line, files, parsed, n);
    if (HasFatalFailure()) return;
  }
}

TEST(ScheduleParserFuzz, TokenSoup) {
  testing::MemoryFileSystem files;
  files.Add("a.wav");
  files.Add("x y.mid");
  constexpr std::array<std::string_view, 45> kTokens = {
      "Speak",   "Time",     "Wave",        "Midi",   "speak",  "\"Hi there\"",
      "'it''s'", "a.wav",    "\"x y.mid\"", "At",     "Skip",   "ALL",
      "BGM",     "at",       "7:00",        "0",      "59.59",  "24:00",
      "0.30",    "23:59.59", "60",          "Repeat", "Volume", "Confirm",
      "from",    "to",       "Every",       "every",  "Mon",    "日",
      "土曜日",  "Sat",      "sun",         "100",    "1",      "-1",
      "\"",      "'",        "\"\"",        "#",      "x",      "9:00",
      "17:00",   "15",       "\"a,b\"",
  };
  constexpr std::array<std::string_view, 4> kSeparators = {" ", ",", "\t", "  "};
  ParsedScheduleLine parsed;
  std::mt19937 rng(54321);
  for (uint32_t n = 0; n < 80000; ++n) {
    std::string line;
    const int count = static_cast<int>(rng() % 12);
    for (int i = 0; i < count; ++i) {
      if (i > 0) line += kSeparators[rng() % kSeparators.size()];
      line += kTokens[rng() % kTokens.size()];
    }
    ParseAndCheck(line, files, parsed, n);
    if (HasFatalFailure()) return;
  }
}

// The splitter written the plain way, copying strings at every step. The library's version
// avoids the copies (and a quadratic worst case); both must split every line alike.
bool ReferenceSplit(std::string_view line, std::vector<std::string>& items) {
  auto is_quote = [](char c) { return c == '"' || c == '\''; };
  auto trim = [](const std::string& text) { return std::string(TrimScheduleText(text)); };
  auto insert = [&items](const std::string& item) { items.insert(items.begin(), item); };
  std::string rest = trim(std::string(line));
  std::string pending;
  std::string token;
  bool ok = true;
  for (size_t s; (s = rest.find_last_of(" ,\t")) != std::string::npos; rest.resize(s)) {
    const std::string candidate = rest.substr(s + 1);
    if (pending.empty()) {
      if (!candidate.empty() && is_quote(candidate.back())) {
        if (UnquoteToken(trim(candidate), token)) {
          if (!token.empty()) insert(token);
        } else {
          pending = rest.substr(s);
        }
      } else if (!candidate.empty() && is_quote(candidate.front())) {
        insert("#!ERROR " + candidate);
        ok = false;
      } else if (!candidate.empty()) {
        insert(candidate);
      }
    } else if (!candidate.empty() && candidate.front() == pending.back() &&
               UnquoteToken(trim(candidate + pending), token)) {
      if (!token.empty()) insert(token);
      pending.clear();
    } else {
      pending = rest.substr(s) + pending;
    }
  }
  if (UnquoteToken(trim(rest + pending), token)) {
    if (!token.empty()) insert(token);
  } else {
    insert("#!ERROR " + rest + pending);
    ok = false;
  }
  return ok;
}

TEST(ScheduleParserFuzz, SplitMatchesTheStraightforwardAlgorithm) {
  constexpr std::array<std::string_view, 14> kPieces = {
      "a", "bc", "\"", "'", "\"\"", "''", "\"x", "y\"", "'z", "w'", "\"'", "'\"", "\x01", "#"};
  constexpr std::string_view kSeparators = " ,\t";
  std::mt19937 rng(777);
  for (uint32_t n = 0; n < 60000; ++n) {
    std::string line;
    const int count = static_cast<int>(rng() % 14);
    for (int i = 0; i < count; ++i) {
      line += rng() % 3 ? kPieces[rng() % kPieces.size()] : kSeparators.substr(rng() % 3, 1);
    }
    std::vector<std::string> expected;
    std::vector<std::string> got;
    const bool expected_ok = ReferenceSplit(line, expected);
    ASSERT_EQ(SplitScheduleLine(line, got), expected_ok) << line;
    ASSERT_EQ(got, expected) << line;
  }
}

}  // namespace
}  // namespace chimewell
