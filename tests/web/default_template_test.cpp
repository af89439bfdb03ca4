#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "platform/file_system.h"
#include "web/api_key_form.h"
#include "web/mqtt_form.h"
#include "web/page_option_lists.h"
#include "web/page_values.h"
#include "web/timetable_values.h"

namespace chimewell {
namespace {

const std::string kTemplatePath = std::string(CHIMEWELL_SOURCE_DIR) + "/data/chimewell.html";

size_t Count(const std::string& text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A running program's worth of values for every placeholder the handler fills.
class DefaultTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    jiho.Type = 3;
    jiho.Folder = "/home/user/voices/set1";
    jiho.AddOn[0] = "/home/user/sounds/chime.wav";
    jiho.LastFolder[0] = jiho.Folder;
    jiho.LastFolder[1] = "/home/user/voices/old";
    schedule = {"# 平日の朝", "Time \"[hour][min]\" At 7:00 12:00 19:00",
                "Speak \"おはようございます\" At 7:30 Repeat 2 Every 月 火 水 木 金",
                "Speak \"[hour]時[min]分\" ALL 0 30 from 8:00 to 22:00"};
    clock.DateName = "Noto Sans CJK JP";
    fonts = {{"DejaVu Sans", kOutlineFontType},
             {"Noto Sans CJK JP", kOutlineFontType},
             {"Fixed", kRasterFontType}};
  }

  ReplacementList AllValues(std::vector<PageSection> open, std::string_view error_text = "",
                            bool debug = false) {
    ReplacementList list;
    for (PageSection section : open) AddSectionOpen(list, section);
    const std::string date_fonts = BuildFontOptions(fonts, clock.DateName);
    const std::string digit_fonts = BuildFontOptions(fonts, clock.DigitName);
    const std::vector<std::string> headers = {"Host: localhost:8080", "User-Agent: test"};
    const std::vector<std::string> log = {"07:00.00.000 Set[Time]Thread [hour][min] repeat:1"};
    const DebugInfo info{.command = "GET",
                         .document = "/",
                         .header_lines = headers,
                         .unparsed_params = "BASESET=1",
                         .log_lines = log};
    AppendPageValues(list, {.problems = error_text},
                     {.config = config,
                      .jiho = jiho,
                      .clock = clock,
                      .schedule_lines = schedule,
                      .version_text = "Chimewell Version 0.1.0 (build 1)",
                      .document_url = kGuideDocument,
                      .date_font_options = date_fonts,
                      .digit_font_options = digit_fonts,
                      .colour_grids = grids,
                      .count_interval = 15,
                      .add_token = "0123456789abcdef0123456789abcdef"},
                     {.jiho_format = jiho.Format,
                      .now = *TryEncodeDateTime({2024, 3, 3, 9, 41, 7, 0}),
                      .wave_file = "/home/user/sounds/chime.wav"},
                     debug ? &info : nullptr);
    AppendTimetableValues(list, TimetablePage{});
    AppendApiKeyValues(list, {{"ha", "00"}});
    AppendMqttValues(list, MqttSettings{});
    return list;
  }

  std::string Template() {
    auto text = RealFileSystem().ReadFile(kTemplatePath, FileKind::kPage);
    EXPECT_TRUE(text.has_value()) << kTemplatePath;
    return text.value_or("");
  }

  ConfigSettings config;
  JihoSettings jiho;
  ClockSettings clock;
  LineList schedule;
  std::vector<FontFamily> fonts;
  ColourGrids grids = BuildColourGrids();
};

TEST_F(DefaultTemplate, CarriesEveryPlaceholderExactlyOnce) {
  const std::string page = Template();
  const ReplacementList list =
      AllValues({PageSection::kSchedule, PageSection::kBase, PageSection::kJiho, PageSection::kDigi,
                 PageSection::kTest});
  for (const std::string& line : list.Lines()) {
    const std::string key = line.substr(0, line.find('\t'));
    EXPECT_EQ(Count(page, key), 1u) << key;
  }
  // Nothing in the template that the program does not fill.
  const std::regex placeholder(R"(\$![A-Z0-9]+!\$)");
  EXPECT_EQ(
      static_cast<size_t>(std::distance(std::sregex_iterator(page.begin(), page.end(), placeholder),
                                        std::sregex_iterator())),
      list.Lines().size());
}

TEST_F(DefaultTemplate, RenderedPageKeepsOnlyTheMarksOfUnsubmittedForms) {
  const std::string page = RenderPage(RealFileSystem(), kTemplatePath,
                                      AllValues({PageSection::kJiho}, "A<BR>\r\n", true));
  const std::regex placeholder(R"(\$![A-Z0-9]+!\$)");
  std::vector<std::string> left;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), placeholder);
       it != std::sregex_iterator(); ++it) {
    left.push_back(it->str());
  }
  EXPECT_EQ(left, (std::vector<std::string>{"$!OPENSCHEFORM!$", "$!OPENBASEFORM!$",
                                            "$!OPENDIGIFORM!$", "$!OPENTESTCFG!$"}));
  EXPECT_NE(page.find("id=\"jiho-body\"  style=\"display:block\""), std::string::npos);
  EXPECT_NE(page.find("以下の問題が発見されたため"), std::string::npos);
  EXPECT_NE(page.find("DEBUG Info"), std::string::npos);
  EXPECT_EQ(Count(page, "\n"), Count(page, "\r\n"));  // served with CR LF only
}

TEST_F(DefaultTemplate, OffersEveryFormFieldAndTheColourScript) {
  const std::string page = Template();
  for (const char* field :
       {"SCHEADD",     "SCHECMD",     "SCHEARG",     "SCHEINTA",    "SCHEINTB",   "SCHE1HOUR",
        "SCHE1MIN",    "SCHESKIPMIN", "SCHEALLMIN",  "SCHE2HOUR",   "SCHE2MIN",   "SCHE3HOUR",
        "SCHE3MIN",    "SCHEREPEAT",  "SCHEW1",      "SCHEW7",      "SCHESET",    "CONTENTS",
        "BASESET",     "SPEAKOFFSET", "TTRAY",       "MIDIVOLUME",  "MIDIBACK",   "ICONICSTART",
        "LIPSVIEW",    "JIHOSET",     "JIHOTYPE",    "JIHOMLVC",    "JIHOFDRSEL", "JIHOLAST",
        "JIHOFDR",     "JIHOFORMAT",  "JIHOERROR",   "DIGISET",     "DATEFORMAT", "DATEFONT",
        "DATECHECK",   "DATESIZE",    "DATEX",       "DATEY",       "DIGITFONT",  "DIGITCHECK",
        "HHMMSIZE",    "HHMMX",       "HHMMY",       "AMPMSIZE",    "AMPMX",      "AMPMY",
        "SECSIZE",     "SECX",        "SECY",        "BACKCOLOR",   "DATECOLOR",  "HHMM1COLOR",
        "HHMM2COLOR",  "AMPM1COLOR",  "AMPM2COLOR",  "SECCOLOR",    "BACKSAMPLE", "DATESAMPLE",
        "HHMM1SAMPLE", "HHMM2SAMPLE", "AMPM1SAMPLE", "AMPM2SAMPLE", "SECSAMPLE",  "DEBUGGRID",
        "DATEBOLD",    "DATEITALIC",  "HHMMBOLD",    "HHMMITALIC",  "AMPMBOLD",   "AMPMITALIC",
        "SECBOLD",     "SECITALIC",   "COUNTSET",    "COUNT",       "JIHOTEST",   "JIHOSTR",
        "MSGTEST",     "MSGSTR",      "DATE",        "TIME",        "WAVETEST",   "WAVEFILE",
        "MIDITEST",    "MIDIFILE",    "SCHETOKEN"}) {
    EXPECT_NE(page.find("name=\"" + std::string(field) + "\""), std::string::npos) << field;
  }
  for (const char* value : {"JIHO", "MESS", "WAVE", "AT", "SKIP", "ALL", "BGM", "TRUE"}) {
    EXPECT_NE(page.find("value=\"" + std::string(value) + "\""), std::string::npos) << value;
  }
  EXPECT_NE(page.find("<form name=\"DIGIFORM\""), std::string::npos);
  EXPECT_NE(page.find("function setColor(sample, field, hex)"), std::string::npos);
  EXPECT_NE(page.find("href=\"?SKIP=1\""), std::string::npos);
  EXPECT_NE(page.find("href=\"?EXIT=1\""), std::string::npos);
  EXPECT_EQ(page.find("http://"), std::string::npos);  // no outside resources
  EXPECT_EQ(page.find("https://"), std::string::npos);
}

// Writes a sample page with every section open, for looking at it in a browser.
TEST_F(DefaultTemplate, WritesASampleWhenAsked) {
  const char* out = std::getenv("CHIMEWELL_PAGE_SAMPLE");
  if (!out) GTEST_SKIP() << "set CHIMEWELL_PAGE_SAMPLE to a file name";
  const std::string page = RenderPage(
      RealFileSystem(), kTemplatePath,
      AllValues(
          {PageSection::kSchedule, PageSection::kBase, PageSection::kJiho, PageSection::kDigi,
           PageSection::kTest},
          "時報音声ファイル設定に問題があります<BR>\r\nHAN.WAV ファイルがありません<BR>\r\n"));
  std::ofstream(out, std::ios::binary) << page;
}

}  // namespace
}  // namespace chimewell
