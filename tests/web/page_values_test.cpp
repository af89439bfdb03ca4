#include "web/page_values.h"

#include <gtest/gtest.h>

#include "core/html_escape.h"
#include "web/page_option_lists.h"

namespace chimewell {
namespace {

// The value the list gives `key` (the first line for it), or "<none>".
std::string ValueIn(const ReplacementList& list, std::string_view key) {
  for (const std::string& line : list.Lines()) {
    if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == '\t') {
      return line.substr(key.size() + 1);
    }
  }
  return "<none>";
}

class PageValues : public ::testing::Test {
 protected:
  ReplacementList Settings() {
    ReplacementList list;
    AppendSettingsValues(list, {.config = config,
                                .jiho = jiho,
                                .clock = clock,
                                .schedule_lines = schedule,
                                .version_text = "Chimewell 0.1.0",
                                .document_url = kGuideDocument,
                                .date_font_options = "<OPTION>d</OPTION>",
                                .digit_font_options = "<OPTION>g</OPTION>",
                                .colour_grids = grids,
                                .debug_grid = debug_grid,
                                .count_interval = count,
                                .paused = paused,
                                .muted = muted});
    return list;
  }

  ConfigSettings config;
  JihoSettings jiho;
  ClockSettings clock;
  LineList schedule;
  ColourGrids grids{"g0", "g1", "g2", "g3", "g4", "g5", "g6"};
  bool debug_grid = false;
  int count = 0;
  bool paused = false;
  bool muted = false;
};

TEST_F(PageValues, AStoredTextWithMarkupShowsAsTextEverywhere) {
  const std::string evil = "\"><script>alert(1)</script>";
  const std::string shown = "&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;";
  jiho.Format = evil;
  jiho.Folder = evil;
  jiho.AddOn[0] = evil;
  jiho.LastFolder[0] = evil;
  clock.DateFormat = evil;
  schedule = {"Speak \"</textarea><script>x()</script>\" At 7:00"};
  const ReplacementList list = Settings();
  EXPECT_EQ(ValueIn(list, "$!JIHOFORMAT!$"), shown);
  EXPECT_EQ(ValueIn(list, "$!JIHOFDR!$"), shown);
  EXPECT_EQ(ValueIn(list, "$!DATEFORMAT!$"), shown);
  EXPECT_EQ(ValueIn(list, "$!CONTSTR!$"),
            "Speak &quot;&lt;/textarea&gt;&lt;script&gt;x()&lt;/script&gt;&quot; At 7:00\r\n");
  EXPECT_NE(ValueIn(list, "$!JIHOADDON!$").find("value=\"" + shown + "\""), std::string::npos);
  EXPECT_EQ(ValueIn(list, "$!JIHOLASTS!$"),
            "<OPTION value=\"" + shown + "\" SELECTED>" + shown + "</OPTION>\r\n");
  for (const std::string& line : list.Lines()) EXPECT_EQ(line.find("<script"), std::string::npos);

  // Rendered into the template's attribute, the text stays inside it.
  const std::string page = ApplyReplacements("<input value=\"$!JIHOFORMAT!$\">", list);
  EXPECT_EQ(page, "<input value=\"" + shown + "\">");
}

TEST_F(PageValues, AUserTextCannotTakeAPlaceholdersPlace) {
  jiho.Format = "$!SECX!$";
  const ReplacementList list = Settings();
  EXPECT_EQ(ApplyReplacements("[$!JIHOFORMAT!$] [$!SECX!$]", list), "[&#36;!SECX!&#36;] [300]");
  EXPECT_EQ(HtmlEscape("a&b 'c' $5"), "a&amp;b &#39;c&#39; &#36;5");
}

TEST_F(PageValues, ChoicesMarkExactlyOneOrFallBack) {
  config.DoubleClick = 2;
  config.IconicStart = true;
  jiho.Type = 7;   // unsupported: the first type is checked
  jiho.MLVC = 11;  // outside 1..10: the first variant is checked
  jiho.ErrorView = false;
  ReplacementList list = Settings();
  EXPECT_EQ(ValueIn(list, "$!TRAYDBL0!$"), "");
  EXPECT_EQ(ValueIn(list, "$!TRAYDBL2!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!ICONICSTART0!$"), "");
  EXPECT_EQ(ValueIn(list, "$!ICONICSTART1!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!LIPSVIEW0!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!JIHOERROR0!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!JIHOTYPE0!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!JIHOMLVC0!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!JIHOMLVC10!$"), "");
  EXPECT_EQ(ValueIn(list, "$!OPENJIHOMLVC!$"), " style=\"display:none\"");

  jiho.Type = 3;
  jiho.MLVC = 10;
  list = Settings();
  EXPECT_EQ(ValueIn(list, "$!JIHOTYPE0!$"), "");
  EXPECT_EQ(ValueIn(list, "$!JIHOTYPE3!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!JIHOMLVC10!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!OPENJIHOMLVC!$"), "");
}

TEST_F(PageValues, FolderChoiceAndAddOnTablesFollowWhatIsSet) {
  jiho.Folder = "";
  ReplacementList list = Settings();
  EXPECT_EQ(ValueIn(list, "$!JIHOFDRSEL0!$"), "CHECKED");
  EXPECT_EQ(ValueIn(list, "$!JIHOFDRSEL1!$"), "");
  EXPECT_EQ(ValueIn(list, "$!OPENJIHOADDON!$"), " style=\"display:none\"");
  EXPECT_EQ(ValueIn(list, "$!OPENJIHOADDOFF!$"), " style=\"display:none\"");

  jiho.Folder = "/v";
  jiho.AddOff[15] = "/x.wav";
  list = Settings();
  EXPECT_EQ(ValueIn(list, "$!JIHOFDRSEL1!$"), "CHECKED");
  EXPECT_EQ(ValueIn(list, "$!OPENJIHOADDON!$"), " style=\"display:none\"");
  EXPECT_EQ(ValueIn(list, "$!OPENJIHOADDOFF!$"), " style=\"display:block\"");
}

TEST_F(PageValues, ScheduleNumbersColoursAndStyles) {
  EXPECT_EQ(ValueIn(Settings(), "$!CONTROWS!$"), "2");
  EXPECT_EQ(ValueIn(Settings(), "$!CONTSTR!$"), "");
  schedule = {"# note", "Time \"[hour][min]\" At 7:00"};
  clock.SecColor = 11674146;
  clock.FontStyles = kDateBold | kSecItalic;
  const ReplacementList list = Settings();
  EXPECT_EQ(ValueIn(list, "$!CONTROWS!$"), "4");
  EXPECT_EQ(ValueIn(list, "$!CONTSTR!$"), "# note\r\nTime &quot;[hour][min]&quot; At 7:00\r\n");
  EXPECT_EQ(ValueIn(list, "$!SECCOLOR!$"), "2222B2");
  EXPECT_EQ(ValueIn(list, "$!SECCOLORVAL!$"), "#2222B2");
  EXPECT_EQ(ValueIn(list, "$!HHMM1COLOR!$"), "FF0000");
  EXPECT_EQ(ValueIn(list, "$!BACKCOLORS!$"), "g0");
  EXPECT_EQ(ValueIn(list, "$!SECCOLORS!$"), "g6");
  EXPECT_EQ(ValueIn(list, "$!SECX!$"), "300");
  EXPECT_EQ(ValueIn(list, "$!DATEBOLD!$"), " checked");
  EXPECT_EQ(ValueIn(list, "$!DATEITALIC!$"), "");
  EXPECT_EQ(ValueIn(list, "$!SECITALIC!$"), " checked");
  EXPECT_EQ(ValueIn(list, "$!SPEAKOFFSET!$"), "500");
  EXPECT_EQ(ValueIn(list, "$!MIDIVOLUME!$"), "100");
  EXPECT_EQ(ValueIn(list, "$!MIDIBACK!$"), "40");
  EXPECT_EQ(ValueIn(list, "$!DEBUGGRID!$"), "");
}

TEST_F(PageValues, ControlStateOfCountPauseAndMute) {
  ReplacementList list = Settings();
  EXPECT_EQ(ValueIn(list, "$!CHECKED00!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!PAUSECLICK!$"), "?PAUSE=1");
  EXPECT_EQ(ValueIn(list, "$!PAUSELABEL!$"), "一時停止する");
  EXPECT_EQ(ValueIn(list, "$!MUTECLICK!$"), "?MUTE=1");
  EXPECT_EQ(ValueIn(list, "$!MUTELABEL!$"), "消音する");

  count = 30;
  paused = muted = debug_grid = true;
  list = Settings();
  EXPECT_EQ(ValueIn(list, "$!CHECKED00!$"), "");
  EXPECT_EQ(ValueIn(list, "$!CHECKED30!$"), "checked");
  EXPECT_EQ(ValueIn(list, "$!PAUSECLICK!$"), "?PAUSE=0");
  EXPECT_EQ(ValueIn(list, "$!PAUSELABEL!$"), "一時停止から再開する");
  EXPECT_EQ(ValueIn(list, "$!MUTECLICK!$"), "?MUTE=0");
  EXPECT_EQ(ValueIn(list, "$!MUTELABEL!$"), "消音を解除する");
  EXPECT_EQ(ValueIn(list, "$!DEBUGGRID!$"), "checked");
}

TEST(FontOptions, MarksOnlyTheExactNameAndShowsTheType) {
  const std::vector<FontFamily> families = {
      {"arial", kOutlineFontType}, {"Arial", kOutlineFontType}, {"Fixed", kRasterFontType}};
  EXPECT_EQ(BuildFontOptions(families, "Arial"),
            "<OPTION value=\"arial\">arial(type:4)</OPTION>\r\n"
            "<OPTION value=\"Arial\" SELECTED>Arial(type:4)</OPTION>\r\n"
            "<OPTION value=\"Fixed\">Fixed(type:1)</OPTION>\r\n");
  // No font set: the standard font is what the list shows chosen.
  EXPECT_EQ(BuildFontOptions({{"A&B \"x\"", 4}}, ""),
            "<OPTION value=\"\" SELECTED>（標準のフォント）</OPTION>\r\n"
            "<OPTION value=\"A&amp;B &quot;x&quot;\">A&amp;B &quot;x&quot;(type:4)</OPTION>\r\n");
}

TEST(RecentFolders, SkipsEmptyEntriesAndSelectsTheExactFolder) {
  std::array<std::string, kRecentFolderCount> last;
  last[0] = "Voice1";
  last[2] = "voice1";
  EXPECT_EQ(BuildRecentFolderOptions(last, "Voice1"),
            "<OPTION value=\"Voice1\" SELECTED>Voice1</OPTION>\r\n"
            "<OPTION value=\"voice1\">voice1</OPTION>\r\n");
}

TEST(AddOnTable, TwoInputsPerRowAfterOneEmptyRow) {
  std::array<std::string, kAddOnCount> texts;
  texts[1] = "/a.wav";
  const std::string table = BuildAddOnTable(AddOnKind::kAddOff, texts);
  EXPECT_TRUE(table.starts_with(
      "<TABLE><TR></TR><TR>\r\n<TD>AddOff1</TD><TD><INPUT type=TEXT name=JIHOADDOFF1 size=45 "
      "value=\"\"></TD>\r\n<TD>AddOff2</TD><TD><INPUT type=TEXT name=JIHOADDOFF2 size=45 "
      "value=\"/a.wav\"></TD>\r\n</TR><TR>\r\n<TD>AddOff3</TD>"));
  EXPECT_TRUE(table.ends_with("name=JIHOADDOFF16 size=45 value=\"\"></TD>\r\n</TR></TABLE>"));
  EXPECT_NE(BuildAddOnTable(AddOnKind::kAddOn, texts)
                .find("<TD>AddOn9</TD><TD><INPUT type=TEXT "
                      "name=JIHOADDON9 "),
            std::string::npos);
}

TEST(TestValues, ProposeNowAndEchoWhatWasSent) {
  const TDateTime now = *TryEncodeDateTime({2004, 1, 5, 7, 5, 9, 0});
  ReplacementList plain;
  AppendTestValues(plain, {.jiho_format = "[hour][min]", .now = now});
  EXPECT_EQ(ValueIn(plain, "$!JIHOSTR!$"), "[hour][min]");
  EXPECT_EQ(ValueIn(plain, "$!JIHODATE!$"), "2004/01/05");
  EXPECT_EQ(ValueIn(plain, "$!JIHOTIME!$"), "07:05.09");
  EXPECT_EQ(ValueIn(plain, "$!MSGSTR!$"),
            "[wa]西暦[year][mon][day][wday]、[ampm][hour][min][sec]、本日は晴天なり");
  EXPECT_EQ(ValueIn(plain, "$!MSGDATE!$"), "2004/01/05");
  EXPECT_EQ(ValueIn(plain, "$!MSGTIME!$"), "07:05.09");
  EXPECT_EQ(ValueIn(plain, "$!WAVEFILE!$"), "");
  EXPECT_EQ(ValueIn(plain, "$!MIDIFILE!$"), "");

  ReplacementList sent;
  AppendTestValues(sent, {.jiho_format = "[hour][min]",
                          .now = now,
                          .sent_jiho_str = "[sec]<b>",
                          .sent_msg_str = "",
                          .wave_file = "/no/such.wav",
                          .midi_file = "<a.mid"});
  EXPECT_EQ(ValueIn(sent, "$!JIHOSTR!$"), "[sec]&lt;b&gt;");
  EXPECT_EQ(ValueIn(sent, "$!MSGSTR!$"), "");  // an empty message stays empty
  EXPECT_EQ(ValueIn(sent, "$!WAVEFILE!$"), "前回のファイルは「/no/such.wav」");
  EXPECT_EQ(ValueIn(sent, "$!MIDIFILE!$"), "前回のファイルは「&lt;a.mid」");
}

TEST(ErrorAndDebugBlocks, WrapProblemsAndEscapeWhatTheRequestBrought) {
  EXPECT_EQ(BuildErrorBlock(""), "");
  EXPECT_EQ(BuildErrorBlock("A<BR>\r\nB<BR>\r\n"),
            "<FONT color=red><B><I>以下の問題が発見されたため、設定は保存されませんでした</I></B>"
            "</FONT><SMALL><BR>A<BR>\r\nB<BR>\r\n<BR></SMALL><HR>\r\n");

  const std::vector<std::string> headers = {"Host: x", "Referer: <script>"};
  const std::vector<std::string> log = {"12:00.00.000 a<b"};
  const std::string block = BuildDebugBlock({.command = "GET",
                                             .document = "/",
                                             .header_lines = headers,
                                             .unparsed_params = "a=<i>",
                                             .log_lines = log});
  EXPECT_EQ(block,
            "<HR><B>DEBUG Info</B><BR>[RequestInfo.Command] GET<BR>[RequestInfo.Document] /"
            "<BR>[RequestInfo.Header] Host: x\r\nReferer: &lt;script&gt;\r\n"
            "<BR>[RequestInfo.UnparsedParams]<BR><PRE>a=&lt;i&gt;</PRE><BR>[Log]<PRE>"
            "12:00.00.000 a&lt;b\r\n</PRE>");
}

TEST(SectionOpenAndDocument, SectionMarks) {
  ReplacementList list;
  AddSectionOpen(list, PageSection::kDigi);
  AddSectionOpen(list, PageSection::kTest);
  EXPECT_EQ(list.Lines()[0], "$!OPENDIGIFORM!$\t style=\"display:block\"");
  EXPECT_EQ(list.Lines()[1], "$!OPENTESTCFG!$\t style=\"display:block\"");
}

}  // namespace
}  // namespace chimewell
