// The name step: which voice files a format plays at a moment, and what it reports.
#include "timesignal/composition.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace chimewell {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TDateTime At(int hour, int minute, int second = 0, int year = 2024, int month = 3, int day = 15) {
  return *TryEncodeDateTime({year, month, day, hour, minute, second, 0});
}

struct Composed {
  std::vector<std::string> names;  // voice files, or "addonN"/"addoffN"
  std::string report;
};

Composed Compose(int type, std::string_view format, TDateTime moment, int variant = 0) {
  Composed out;
  for (const ComposedItem& item : ComposeFragments({type, variant, format, moment})) {
    switch (item.kind) {
      case ComposedItem::Kind::kVoiceFile:
        out.names.push_back(item.text);
        break;
      case ComposedItem::Kind::kAddOn:
        out.names.push_back("addon" + std::to_string(item.number));
        break;
      case ComposedItem::Kind::kAddOff:
        out.names.push_back("addoff" + std::to_string(item.number));
        break;
      case ComposedItem::Kind::kReport:
        out.report += item.text;
        break;
    }
  }
  return out;
}

std::vector<std::string> Names(int type, std::string_view format, TDateTime moment,
                               int variant = 0) {
  return Compose(type, format, moment, variant).names;
}

TEST(TypeOneComposition, DefaultSpeaksWhatChanged) {
  EXPECT_THAT(Names(1, "default", At(15, 0)),
              ElementsAre("GOGO.WAV", "SAN.WAV", "JI.WAV", "DA.WAV"));
  EXPECT_THAT(Names(1, "DeFault", At(15, 7)), ElementsAre("NANAHUN.WAV", "DA.WAV"));
  EXPECT_THAT(Names(1, "[default]", At(15, 30)),
              ElementsAre("SAN.WAV", "JI.WAV", "SAN.WAV", "JYUPPUN.WAV", "DA.WAV"));
  // [default] inside a longer format is replaced wherever it stands.
  EXPECT_THAT(Names(1, "[opt2][Default]", At(15, 0)),
              ElementsAre("DESU.WAV", "GOGO.WAV", "SAN.WAV", "JI.WAV", "DA.WAV"));
}

TEST(TypeOneComposition, SecondsSilenceTheUpperCaseTokens) {
  EXPECT_THAT(Names(1, "[AMPM][HOUR][MIN][SEC]", At(9, 40, 15)), ElementsAre("JYUU.WAV", "GO.WAV"));
  EXPECT_THAT(Names(1, "[AMPM][HOUR][MIN][SEC]", At(9, 40, 0)),
              ElementsAre("KU.WAV", "JI.WAV", "YON.WAV", "JYUPPUN.WAV"));
  // Lower case is always spoken.
  EXPECT_THAT(Names(1, "[ampm][hour][sec]", At(9, 40, 15)),
              ElementsAre("GOZEN.WAV", "KU.WAV", "JI.WAV", "JYUU.WAV", "GO.WAV"));
  EXPECT_THAT(Names(1, "[min][sec]", At(9, 40, 15)),
              ElementsAre("YON.WAV", "JYUPPUN.WAV", "JYUU.WAV", "GO.WAV"));
}

TEST(TypeOneComposition, NumbersBecomeDigitWords) {
  EXPECT_THAT(Names(1, "[hh24]", At(0, 0)), ElementsAre("REI.WAV", "JI.WAV"));
  EXPECT_THAT(Names(1, "[hour]", At(12, 0)), ElementsAre("JYUU.WAV", "NI.WAV", "JI.WAV"));
  EXPECT_THAT(Names(1, "[hour]", At(0, 0)), ElementsAre("REI.WAV", "JI.WAV"));
  EXPECT_THAT(
      Names(1, "[hh24][min]", At(23, 45)),
      ElementsAre("NI.WAV", "JYUU.WAV", "SAN.WAV", "JI.WAV", "YON.WAV", "JYUU.WAV", "GOHUN.WAV"));
  EXPECT_THAT(Names(1, "[hh24][min]", At(20, 11)),
              ElementsAre("NI.WAV", "JYUU.WAV", "JI.WAV", "JYUU.WAV", "IPPUN.WAV"));
  EXPECT_THAT(Names(1, "[sec]", At(0, 0, 20)), ElementsAre("NI.WAV", "JYUU.WAV"));
  EXPECT_THAT(Names(1, "[sec]", At(0, 0, 7)), ElementsAre("SITI.WAV"));
  EXPECT_THAT(Names(1, "[opt1][opt2][opt3][opt4]", At(0, 0)),
              ElementsAre("DA.WAV", "DESU.WAV", "YADE.WAV", "YO.WAV"));
}

TEST(TypeTwoComposition, DateAndTimeFiles) {
  // 3 March 2024 was a Sunday.
  EXPECT_THAT(Names(2, "[mon][day][wday]", At(10, 0, 0, 2024, 3, 3)),
              ElementsAre("28_3月.wav", "40_3日.wav", "25_日曜日.wav"));
  EXPECT_THAT(Names(2, "default", At(0, 0)),
              ElementsAre("124_0H.wav", "184_60.wav", "72_です.wav"));
  EXPECT_THAT(Names(2, "[hour][hh24][MIN]", At(23, 5)),
              ElementsAre("123_23H.wav", "123_23H.wav", "129_05.wav"));
  EXPECT_THAT(Names(2, "[opt1][opt11][opt25]", At(0, 0)),
              ElementsAre("00_Windowsのはじまり.wav", "100_夕方です.wav", "73_だよ.wav"));
  EXPECT_EQ(Compose(2, "[opt26][sec]", At(0, 0)).report,
            "[opt26]は使えません\r\n[sec]は使えません\r\n");
}

TEST(TypeThreeComposition, HourByVariant) {
  EXPECT_THAT(Names(3, "[hour]", At(0, 0)), ElementsAre("12H.WAV"));
  EXPECT_THAT(Names(3, "[hh24]", At(4, 0), 3), ElementsAre("024AM.WAV"));
  EXPECT_THAT(Names(3, "[hh24]", At(16, 0), 3), ElementsAre("04HPM.WAV"));
  EXPECT_THAT(Names(3, "[hh24]", At(16, 0), 4), ElementsAre("024AM.WAV"));
  EXPECT_THAT(Names(3, "[hour]", At(12, 0), 6), ElementsAre("12.WAV", "OCLOCK.WAV"));
  EXPECT_THAT(Names(3, "[hh24]", At(0, 0), 7), ElementsAre("20.WAV", "04.WAV"));
  EXPECT_THAT(Names(3, "[hh24]", At(20, 0), 8), ElementsAre("20.WAV"));
  EXPECT_THAT(Names(3, "[hour]", At(15, 0), 11), ElementsAre("OCLOCK.WAV", "03.WAV"));
}

TEST(TypeThreeComposition, MinuteByVariant) {
  EXPECT_THAT(Names(3, "[min]", At(1, 45), 9), ElementsAre("40Y.WAV", "05.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 0)), ElementsAre("00M.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 37)), ElementsAre("30.WAV", "07M.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 30), 2), ElementsAre("30M.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 1), 3), ElementsAre("01M.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 21), 4), ElementsAre("20.WAV", "1M.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 0), 5), ElementsAre("OCLOCK.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 40), 5), ElementsAre("40.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 25), 6), ElementsAre("05M.WAV", "20.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 20), 11), ElementsAre("20.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 0), 6), IsEmpty());
  EXPECT_THAT(Names(3, "[min]", At(1, 20), 7), ElementsAre("20.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 41), 8), ElementsAre("41.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 21), 8), ElementsAre("21.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 0), 10), ElementsAre("00.WAV"));
  EXPECT_THAT(Names(3, "[min]", At(1, 59), 10), ElementsAre("50.WAV", "09.WAV"));
}

TEST(TypeThreeComposition, DefaultOrderDependsOnVariant) {
  EXPECT_THAT(Names(3, "default", At(2, 5), 6), ElementsAre("05M.WAV", "02.WAV", "OCLOCK.WAV"));
  EXPECT_THAT(Names(3, "default", At(2, 5)), ElementsAre("02H.WAV", "05M.WAV"));
  EXPECT_EQ(Compose(3, "[ampm][sec]", At(2, 5)).report,
            "[ampm]は使えません\r\n[sec]は使えません\r\n");
}

TEST(TypeFourComposition, TensAndTheCaseRule) {
  EXPECT_THAT(Names(4, "[sec]", At(10, 0, 20)), ElementsAre("20byo.wav"));
  EXPECT_THAT(Names(4, "[sec]", At(10, 0, 5)), IsEmpty());
  EXPECT_THAT(Names(4, "[HOUR][MIN]", At(8, 0)), ElementsAre("08ji.wav", "tyoudo.wav"));
  EXPECT_THAT(Names(4, "[HH24][MIN]", At(0, 30)), ElementsAre("12ji.wav", "30fun.wav"));
  EXPECT_THAT(Names(4, "[HOUR][MIN]", At(13, 37)), ElementsAre("30.wav", "07fun.wav"));
  // Seconds under ten do not count, so the hour is still spoken.
  EXPECT_THAT(Names(4, "default", At(13, 0, 5)),
              ElementsAre("gogo.wav", "01ji.wav", "tyoudo.wav", "oshirase.wav"));
  // Type 4 speaks [MIN] even while seconds are spoken.
  EXPECT_THAT(Names(4, "[AMPM][HOUR][MIN][sec]", At(13, 20, 40)),
              ElementsAre("20fun.wav", "40byo.wav"));
  EXPECT_THAT(Names(4, "[opt1][opt7]", At(0, 0)), ElementsAre("DTMF1.wav", "ti.wav"));
}

TEST(TypeFiveComposition, HourAndMinuteWords) {
  EXPECT_THAT(Names(5, "default", At(13, 0)), ElementsAre("PM.WAV", "o01.WAV", "L_0.WAV"));
  EXPECT_THAT(Names(5, "default", At(13, 35)),
              ElementsAre("PM.WAV", "o01.WAV", "TM30.WAV", "M5.WAV", "L_0.WAV"));
  EXPECT_THAT(Names(5, "[hour][min]", At(0, 30)), ElementsAre("o12.WAV", "HAN.WAV"));
  EXPECT_THAT(Names(5, "[min]", At(0, 22)), ElementsAre("M22.WAV"));
  EXPECT_THAT(Names(5, "[min]", At(0, 9)), ElementsAre("M9.WAV"));
  EXPECT_THAT(Names(5, "[min]", At(0, 11)), ElementsAre("TM10.WAV", "M1.WAV"));
  EXPECT_THAT(Names(5, "[opt5]", At(0, 0)), ElementsAre("L_4.WAV"));
  EXPECT_EQ(Compose(5, "[hh24]", At(0, 0)).report, "[hh24]は使えません\r\n");
}

TEST(FormatParsing, ReportsWhatItCannotUse) {
  for (int type = 1; type <= 5; ++type) {
    SCOPED_TRACE(type);
    const Composed left = Compose(type, "[hour]x", At(3, 0));
    EXPECT_FALSE(left.names.empty());
    EXPECT_EQ(left.report, "[x]が余りました\r\n");

    const Composed unknown = Compose(type, "[foo]", At(3, 0));
    EXPECT_THAT(unknown.names, IsEmpty());
    EXPECT_EQ(unknown.report, "[foo]は使えません\r\n");

    EXPECT_EQ(Compose(type, "[addon17][AddOn0][addoff1x][]", At(3, 0)).report,
              "[addon17]は使えません\r\n[AddOn0]は使えません\r\n[addoff1x]は使えません\r\n"
              "[]は使えません\r\n");
    EXPECT_THAT(Names(type, "[addon1][ADDOFF16]", At(3, 0)), ElementsAre("addon1", "addoff16"));
  }
}

TEST(FormatParsing, StopsAtTextThatIsNotAToken) {
  // An unclosed bracket, and text before a token, end the parse: the rest is left over.
  EXPECT_EQ(Compose(1, "[hour][min", At(3, 0)).report, "[[min]が余りました\r\n");
  EXPECT_EQ(Compose(1, "です[hour]", At(3, 0)).report, "[です[hour]]が余りました\r\n");
  EXPECT_THAT(Names(1, "です[hour]", At(3, 0)), IsEmpty());
  // Absurdly long numbers are simply out of range.
  EXPECT_EQ(Compose(1, "[opt99999999999999999999]", At(3, 0)).report,
            "[opt99999999999999999999]は使えません\r\n");
}

TEST(FormatParsing, ReportsAndFragmentsKeepFormatOrder) {
  const auto items = ComposeFragments({1, 0, "[foo][opt1][bar]", At(3, 0)});
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].kind, ComposedItem::Kind::kReport);
  EXPECT_EQ(items[1].text, "DA.WAV");
  EXPECT_EQ(items[2].text, "[bar]は使えません\r\n");
}

TEST(FormatParsing, UnsupportedTypeSaysSoOnce) {
  EXPECT_EQ(Compose(7, "[hour][min]", At(3, 0)).report,
            "現在機能していないタイプが指定されました\r\n");
  EXPECT_THAT(Compose(0, "[hour]", At(3, 0)).names, IsEmpty());
}

}  // namespace
}  // namespace chimewell
