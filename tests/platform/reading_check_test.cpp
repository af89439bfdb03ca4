// Does Open JTalk read the clock's own texts the way an announcer would? Every hour, minute,
// second, day, month, weekday and era year, composed by the program, read by the real engine;
// and the users' own texts of user_texts.tsv (ranges, AM and PM, temperatures, yen, weekdays)
// against their standard readings.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "core/settings.h"
#include "core/speech_readings.h"
#include "core/speech_text.h"
#include "platform/linux/open_jtalk_pronunciation.h"
#include "platform/linux/open_jtalk_speech.h"
#include "platform/standard_reading.h"
#include "timesignal/tool_runner.h"

namespace chimewell {
namespace {

TDateTime At(int year, int month, int day, int hour, int minute, int second) {
  return *TryEncodeDateTime({year, month, day, hour, minute, second, 0});
}

// The texts the clock speaks by itself, with its default templates; every value of every field
// appears at least once.
std::vector<std::string> ClockTexts() {
  const std::string time_signal = JihoSettings{}.Format;  // also the count at second 0
  const std::string date_line = ClockSettings{}.DateFormat;
  std::vector<std::string> texts;
  auto add = [&texts](std::string_view tmpl, TDateTime moment) {
    texts.push_back(ExpandSpeechText(tmpl, moment));
  };
  for (int hour = 0; hour < 24; ++hour) {
    add(time_signal, At(2028, 1, 1, hour, 0, 0));
    add("[hh24][MIN]", At(2028, 1, 1, hour, hour * 13 % 60, 0));
    add("[default]", At(2028, 1, 1, hour, 0, 0));
  }
  for (int minute = 0; minute < 60; ++minute) {
    add(time_signal, At(2028, 1, 1, minute * 7 % 24, minute, 0));
  }
  for (int second = 1; second < 60; ++second) add("[sec]", At(2028, 1, 1, 12, 0, second));
  // January has every day and every weekday; every month gets its first and one other day.
  for (int day = 1; day <= 31; ++day) add(date_line, At(2028, 1, day, 0, 0, 0));
  for (int month = 2; month <= 12; ++month) {
    add(date_line, At(2028, month, 1, 0, 0, 0));
    add(date_line, At(2028, month, month * 2 + 3, 0, 0, 0));
  }
  for (int year = 1868; year <= 2040; ++year) add("[wa]", At(year, 12, 31, 0, 0, 0));
  return texts;
}

// Times and dates as users write them in their own texts (first), each with the same time or
// date as the clock words it (second), whose standard reading it must be read with. Every hour,
// minute, second, day and month appears.
std::pair<std::vector<std::string>, std::vector<std::string>> UserTimesAndDates() {
  std::vector<std::string> written, worded;
  auto add = [&](std::string text, std::string words) {
    written.push_back(std::move(text));
    worded.push_back(std::move(words));
  };
  auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  auto clock = [](int hour, int minute) {
    return std::to_string(hour) + "時" + (minute == 0 ? "" : std::to_string(minute) + "分");
  };
  for (int hour = 0; hour < 24; ++hour) {
    add(std::to_string(hour) + ":00", clock(hour, 0));
    add(two(hour) + ":" + two(hour * 13 % 60), clock(hour, hour * 13 % 60));
  }
  for (int minute = 1; minute < 60; ++minute) {
    add(std::to_string(minute * 7 % 24) + ":" + two(minute), clock(minute * 7 % 24, minute));
  }
  for (int second = 1; second < 60; second += 7) {
    add("9:05:" + two(second), clock(9, 5) + std::to_string(second) + "秒");
  }
  add("9:00:30", "9時0分30秒");
  for (int day = 1; day <= 31; ++day) {
    add("1/" + std::to_string(day), "1月" + std::to_string(day) + "日");
  }
  for (int month = 2; month <= 12; ++month) {
    add(std::to_string(month) + "/1", std::to_string(month) + "月1日");
    const std::string year = std::to_string(1900 + month * 11), day = std::to_string(month * 2 + 3);
    add(year + "/" + two(month) + "/" + two(month * 2 + 3),
        year + "年" + std::to_string(month) + "月" + day + "日");
  }
  return {written, worded};
}

struct Figure {
  size_t right = 0;
  size_t checked = 0;
  std::vector<std::string> wrong;  // one line per misread text
};

// Reads `texts` as the speech path hands them to the engine (`rewrite`) or as composed, each
// to be read as the standard reading of its own words or of its counterpart in `worded`.
Figure Check(const OpenJTalkSetup& setup, const std::vector<std::string>& texts, bool rewrite,
             const std::vector<std::string>& worded = {}) {
  std::vector<std::string> sent;
  for (const std::string& text : texts) sent.push_back(rewrite ? ApplySpeechReadings(text) : text);
  std::string error;
  const auto heard = ReadPronunciations(setup, sent, &error);
  Figure figure;
  if (!heard) {
    ADD_FAILURE() << error;
    return figure;
  }
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto standard = StandardReading(worded.empty() ? texts[i] : worded[i]);
    const std::string pronunciation = PronunciationText((*heard)[i]);
    ++figure.checked;
    if (standard && IsReadAs(pronunciation, *standard)) {
      ++figure.right;
    } else {
      figure.wrong.push_back(texts[i] + " (sent " + sent[i] + "): heard " + pronunciation +
                             ", standard " + (standard ? FirstReading(*standard) : "unknown"));
    }
  }
  return figure;
}

// One text of user_texts.tsv: its group (the rule it is there for, or "kept"), the text, and
// its standard readings.
struct UserText {
  std::string group;
  std::string text;
  std::vector<std::string> readings;
};

constexpr char kKept[] = "kept";

std::vector<UserText> UserTexts() {
  std::ifstream file(CHIMEWELL_USER_TEXTS);
  std::vector<UserText> texts;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line.starts_with("#")) continue;
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
    UserText text{cells.at(0), cells.at(1), {}};
    std::istringstream readings(cells.size() > 2 ? cells[2] : "");
    for (std::string reading; std::getline(readings, reading, '|');) {
      std::erase(reading, ' ');  // blanks only part the words for the eye
      text.readings.push_back(reading);
    }
    texts.push_back(std::move(text));
  }
  return texts;
}

// The engine writes the particle を as ヲ; it is said オ.
std::string AsSaid(std::string pronunciation) {
  static constexpr std::string_view kWo = "ヲ", kO = "オ";
  for (size_t at; (at = pronunciation.find(kWo)) != std::string::npos;) {
    pronunciation.replace(at, kWo.size(), kO);
  }
  return pronunciation;
}

class ReadingCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string missing;
    setup_ = FindOpenJTalk({}, &missing);
    if (!missing.empty()) GTEST_SKIP() << missing;
  }
  void Report(const char* what, const Figure& figure) {
    std::cout << what << ": read right " << figure.right << "/" << figure.checked << "\n";
  }
  OpenJTalkSetup setup_;
};

TEST_F(ReadingCheck, EngineReadsEveryClockTextTheStandardWay) {
  const Figure figure = Check(setup_, ClockTexts(), true);
  Report("as sent to the engine", figure);
  EXPECT_EQ(figure.right, figure.checked);
  for (const std::string& line : figure.wrong) ADD_FAILURE() << line;
}

TEST_F(ReadingCheck, EngineReadsTheUsersTimesAndDatesAsTimesAndDates) {
  const auto [written, worded] = UserTimesAndDates();
  const Figure figure = Check(setup_, written, true, worded);
  Report("times and dates as sent to the engine", figure);
  EXPECT_EQ(figure.right, figure.checked);
  for (const std::string& line : figure.wrong) ADD_FAILURE() << line;
}

// The check is only worth something if it hears the faults the rewriting is there for.
TEST_F(ReadingCheck, WithoutRewritingTheEngineMisreadsZerosFirstYearsFirstDaysAndTimes) {
  const Figure all = Check(setup_, ClockTexts(), false);
  Report("as composed", all);
  const Figure known =
      Check(setup_, {"0時", "午前0時0分です", "令和1年", "令和8年 8月 1日 土曜日"}, false);
  const Figure written = Check(setup_, {"8:15", "4/29"}, false, {"8時15分", "4月29日"});
  EXPECT_EQ(known.right + written.right, 0u);
  EXPECT_LT(all.right, all.checked);
}

TEST(UserTexts, TheCorpusHoldsEnoughTextsAndTheKeptOnesReachTheEngineAsWritten) {
  const std::vector<UserText> texts = UserTexts();
  std::map<std::string, size_t> groups;
  for (const UserText& text : texts) {
    ++groups[text.group];
    if (text.group == kKept) {
      EXPECT_EQ(ApplySpeechReadings(text.text), text.text);
      EXPECT_TRUE(text.readings.empty()) << text.text;
    } else {
      EXPECT_FALSE(text.readings.empty()) << text.text;
    }
  }
  EXPECT_GE(texts.size() - groups[kKept], 150u);
  EXPECT_GE(groups[kKept], 30u);
  EXPECT_GE(groups.size(), 10u);
}

TEST_F(ReadingCheck, EngineReadsTheUsersTextsTheStandardWay) {
  std::vector<UserText> texts = UserTexts();
  std::erase_if(texts, [](const UserText& text) { return text.group == kKept; });
  std::vector<std::string> sent;
  for (const UserText& text : texts) sent.push_back(ApplySpeechReadings(text.text));
  std::string error;
  const auto heard = ReadPronunciations(setup_, sent, &error);
  ASSERT_TRUE(heard) << error;
  std::map<std::string, Figure> groups;
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string said = AsSaid(PronunciationText((*heard)[i]));
    Figure& figure = groups[texts[i].group];
    ++figure.checked;
    if (std::find(texts[i].readings.begin(), texts[i].readings.end(), said) !=
        texts[i].readings.end()) {
      ++figure.right;
    } else {
      ADD_FAILURE() << texts[i].text << " (sent " << sent[i] << "): heard " << said << ", standard "
                    << texts[i].readings.front();
    }
  }
  Figure all;
  for (const auto& [group, figure] : groups) {
    Report(("users' texts, " + group).c_str(), figure);
    all.right += figure.right;
    all.checked += figure.checked;
  }
  Report("users' texts", all);
  EXPECT_EQ(all.right, all.checked);
}

// The corpus is worth something only if the engine misreads its texts without the rules.
TEST_F(ReadingCheck, WithoutTheRulesTheEngineMisreadsMostOfTheUsersTexts) {
  std::vector<UserText> texts = UserTexts();
  std::erase_if(texts, [](const UserText& text) { return text.group == kKept; });
  std::vector<std::string> written;
  for (const UserText& text : texts) written.push_back(text.text);
  std::string error;
  const auto heard = ReadPronunciations(setup_, written, &error);
  ASSERT_TRUE(heard) << error;
  Figure figure;
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string said = AsSaid(PronunciationText((*heard)[i]));
    ++figure.checked;
    if (std::find(texts[i].readings.begin(), texts[i].readings.end(), said) !=
        texts[i].readings.end()) {
      ++figure.right;
    }
  }
  Report("users' texts as written", figure);
  EXPECT_LT(figure.right * 5, figure.checked);
}

TEST_F(ReadingCheck, TextsSharingAnEngineRunKeepTheirOwnWords) {
  std::string error;
  const auto heard = ReadPronunciations(setup_, {"3時", "", "はい。いいえ", "4時\n5分"}, &error);
  ASSERT_TRUE(heard) << error;
  ASSERT_EQ(heard->size(), 4u);
  EXPECT_EQ(PronunciationText((*heard)[0]), "サンジ");
  EXPECT_EQ(PronunciationText((*heard)[1]), "");
  EXPECT_EQ(PronunciationText((*heard)[2]), "ハイイーエ");
  EXPECT_EQ(PronunciationText((*heard)[3]), "ヨジゴフン");
  EXPECT_EQ((*heard)[3].front().written, "四");
}

// The engine joins a full stop to the symbols next to it (♪。) and makes one of a half-width ｡:
// the texts of such a run are read again one by one, so that every text keeps its own words.
TEST_F(ReadingCheck, TextsEndingInSymbolsKeepTheWordsOfTheTextsAfterThem) {
  std::string error;
  const std::vector<std::string> texts = {
      "時間です♪", "テスト", "ネコ", "★☆", "ア｡イ", "♪ネコ", "\xE3", "ウマ", "", "はい。♪", "イヌ"};
  const auto heard = ReadPronunciations(setup_, texts, &error);
  ASSERT_TRUE(heard) << error;
  ASSERT_EQ(heard->size(), texts.size());
  const char* const expected[] = {"ジカンデス", "テスト", "ネコ", "",     "アイ", "ネコ",
                                  nullptr,      "ウマ",   "",     "ハイ", "イヌ"};
  for (size_t i = 0; i < texts.size(); ++i) {
    if (expected[i]) {
      EXPECT_EQ(PronunciationText((*heard)[i]), expected[i]) << texts[i];
    }
  }
}

TEST_F(ReadingCheck, PronounceToolGivesOneLinePerTextWhateverItEndsWith) {
  const auto result = testing::RunTool("pronounce '時間です♪' 'テスト' 'ネコ' '♪' '9:00～'");
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "時間です♪\tジカンデス\nテスト\tテスト\nネコ\tネコ\n♪\t\n9時から\tクジカラ\n");
}

// The speech path itself, not just the rules: a wrapper notes what reaches the real engine.
TEST_F(ReadingCheck, SpeechHandsTheEngineTheRewrittenText) {
  testing::TempDir dir;
  const auto wrapper = dir / "open_jtalk", heard = dir / "heard";
  testing::WriteBytes(wrapper, "#!/bin/sh\ntee -a '" + heard.string() + "' | exec '" +
                                   setup_.command + "' \"$@\"\n");
  std::filesystem::permissions(wrapper, std::filesystem::perms::owner_all);
  Mixer mixer(MakeNullSink());
  mixer.Start();
  {
    OpenJTalkSpeech speech(mixer, {}, {wrapper.string(), setup_.dictionary, setup_.voice});
    speech.SpeakText("午前0時0分です");
    for (int i = 0; i < 6000 && speech.Speaking() > 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  mixer.Stop();
  EXPECT_EQ(testing::ReadBytes(heard), "午前零時零分です\n");
}

TEST_F(ReadingCheck, PronounceToolShowsWhatTheEngineReceivesAndSays) {
  const auto result =
      testing::RunTool("pronounce '午前0時0分です' '8月 1日' '8:15に集合。4/29。0:05' 16:9");
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "午前零時零分です\tゴゼンレージレーフンデス\n8月1日\tハチガツツイタチ\n"
            "8時15分に集合。4月29日。零時5分\t"
            "ハチジジューゴフンニシューゴー"
            "シガツニジュークニチレージゴフン\n"
            "16:9\tジューロクキュー\n");
}

}  // namespace
}  // namespace chimewell
