#include "timesignal/voice_lists.h"

#include <array>
#include <unordered_map>

#include "timesignal/compose_rules.h"

namespace chimewell {
namespace {

using compose::Concat;
using compose::TwoDigits;

std::vector<std::string> MakeTypeOneList() {
  return {"GOZEN.WAV", "GOGO.WAV",   "JI.WAV",      "REI.WAV",     "ITI.WAV",     "NI.WAV",
          "SAN.WAV",   "YON.WAV",    "GO.WAV",      "ROKU.WAV",    "SITI.WAV",    "HATI.WAV",
          "KU.WAV",    "JYUU.WAV",   "IPPUN.WAV",   "NIHUN.WAV",   "SANHUN.WAV",  "YONHUN.WAV",
          "GOHUN.WAV", "ROPPUN.WAV", "NANAHUN.WAV", "HATIHUN.WAV", "KYUUHUN.WAV", "JYUPPUN.WAV",
          "DA.WAV",    "DESU.WAV",   "YADE.WAV",    "YO.WAV"};
}

std::vector<std::string> MakeTypeThreeList() {
  std::vector<std::string> list = {"0.WAV", "00.WAV", "1.WAV", "01.WAV"};
  for (int n = 2; n <= 21; ++n) list.push_back(TwoDigits(n) + ".WAV");
  for (const char* name : {"30.WAV", "31.WAV", "40.WAV", "41.WAV", "50.WAV", "51.WAV"}) {
    list.push_back(name);
  }
  for (int h = 1; h <= 12; ++h) {
    list.push_back(TwoDigits(h) + "H.WAV");
    // The set ships its four o'clock morning file under this odd name.
    list.push_back(h == 4 ? "024AM.WAV" : TwoDigits(h) + "HAM.WAV");
    list.push_back(TwoDigits(h) + "HPM.WAV");
  }
  for (const char* name : {"00M.WAV", "1M.WAV", "01M.WAV", "2M.WAV", "02M.WAV"}) {
    list.push_back(name);
  }
  for (int n = 3; n <= 19; ++n) list.push_back(TwoDigits(n) + "M.WAV");
  for (const char* name : {"30M.WAV", "Y.WAV", "30Y.WAV", "40Y.WAV", "50Y.WAV", "OCLOCK.WAV"}) {
    list.push_back(name);
  }
  return list;
}

std::vector<std::string> MakeTypeFourList() {
  std::vector<std::string> list = {"gozen.wav", "gogo.wav", "12ji.wav"};
  for (int h = 1; h <= 11; ++h) list.push_back(TwoDigits(h) + "ji.wav");
  for (int m = 0; m <= 10; ++m) list.push_back(TwoDigits(m) + "fun.wav");
  for (int t = 2; t <= 5; ++t) list.push_back(std::to_string(t * 10) + "fun.wav");
  for (int t = 1; t <= 5; ++t) list.push_back(std::to_string(t * 10) + ".wav");
  for (int t = 1; t <= 5; ++t) list.push_back(std::to_string(t * 10) + "byo.wav");
  for (const char* name : {"tyoudo.wav", "DTMF1.wav", "DTMF7.wav", "tadaima.wav", "oshirase.wav",
                           "pi.wav", "pon.wav", "ti.wav"}) {
    list.push_back(name);
  }
  return list;
}

std::vector<std::string> MakeTypeFiveList() {
  std::vector<std::string> list = {"AM.WAV", "PM.WAV", "BLANK.WAV", "HAN.WAV"};
  for (int h = 1; h <= 12; ++h) list.push_back(Concat({"o", TwoDigits(h), ".WAV"}));
  for (int n = 1; n <= 9; ++n) list.push_back(Concat({"M", std::to_string(n), ".WAV"}));
  for (const char* name : {"M10.WAV", "M20.WAV", "M22.WAV", "M30.WAV", "M40.WAV", "M50.WAV"}) {
    list.push_back(name);
  }
  for (int n = 1; n <= 9; ++n) list.push_back(Concat({"M_", std::to_string(n), ".WAV"}));
  for (int t = 1; t <= 5; ++t) list.push_back(Concat({"TM", std::to_string(t * 10), ".WAV"}));
  for (int n = 0; n <= 4; ++n) list.push_back(Concat({"L_", std::to_string(n), ".WAV"}));
  return list;
}

struct IndexedList {
  std::vector<std::string> names;
  std::unordered_map<std::string_view, int> index;

  explicit IndexedList(std::vector<std::string> list) : names(std::move(list)) {
    for (size_t i = 0; i < names.size(); ++i) index.emplace(names[i], static_cast<int>(i));
  }
};

const IndexedList* ListOf(int type) {
  static const IndexedList one(MakeTypeOneList());
  static const IndexedList three(MakeTypeThreeList());
  static const IndexedList four(MakeTypeFourList());
  static const IndexedList five(MakeTypeFiveList());
  switch (type) {
    case 1:
      return &one;
    case 3:
      return &three;
    case 4:
      return &four;
    case 5:
      return &five;
    default:
      return nullptr;
  }
}

// Type 2 phrase files, [opt1] .. [opt25].
constexpr std::array<const char*, kTypeTwoPhraseCount> kTypeTwoPhrases = {
    "00_Windowsのはじまり.wav",
    "01_Windowsのお終い.wav",
    "02_おはようございます.wav",
    "03_こんにちは.wav",
    "04_こんばんは.wav",
    "05_もう真夜中ですよ.wav",
    "06_朝です.wav",
    "07_昼です.wav",
    "08_夜です.wav",
    "09_真夜中です.wav",
    "100_夕方です.wav",
    "10_今日もよろしくおねがいします.wav",
    "11_今日も頑張りましょうね.wav",
    "12_今日もﾌｧｲﾄ.wav",
    "13_お疲れ様でした.wav",
    "14_明日も頑張りましょうね.wav",
    "15_また明日ね.wav",
    "16_そろそろ時間ですよ.wav",
    "17_おーい時間だよ.wav",
    "18_ｱﾚもう時間だよ.wav",
    "69_平日.wav",
    "70_休日.wav",
    "71_祭日.wav",
    "72_です.wav",
    "73_だよ.wav",
};

constexpr std::array<const char*, 7> kTypeTwoWeekdays = {
    "25_日曜日.wav", "19_月曜日.wav", "20_火曜日.wav", "21_水曜日.wav",
    "22_木曜日.wav", "23_金曜日.wav", "24_土曜日.wav",
};

}  // namespace

const std::vector<std::string>& VoiceList(int type) {
  static const std::vector<std::string> none;
  const IndexedList* list = ListOf(type);
  return list ? list->names : none;
}

int VoiceListIndex(int type, std::string_view name) {
  const IndexedList* list = ListOf(type);
  if (!list) return -1;
  const auto it = list->index.find(name);
  return it == list->index.end() ? -1 : it->second;
}

std::string TypeTwoPhraseName(int n) { return kTypeTwoPhrases.at(n - 1); }
std::string TypeTwoWeekdayName(int weekday) { return kTypeTwoWeekdays.at(weekday - 1); }
std::string TypeTwoMonthName(int month) {
  return Concat({std::to_string(25 + month), "_", std::to_string(month), "月.wav"});
}
std::string TypeTwoDayName(int day) {
  return Concat({std::to_string(37 + day), "_", std::to_string(day), "日.wav"});
}
std::string TypeTwoHourName(int hour) {
  if (hour == 0) return "124_0H.wav";
  return Concat({std::to_string(100 + hour), "_", std::to_string(hour), "H.wav"});
}
std::string TypeTwoMinuteName(int minute) {
  if (minute == 0) return "184_60.wav";
  return Concat({std::to_string(124 + minute), "_", TwoDigits(minute), ".wav"});
}

std::vector<std::string> TypeTwoAllNames() {
  std::vector<std::string> names(kTypeTwoPhrases.begin(), kTypeTwoPhrases.end());
  names.insert(names.end(), kTypeTwoWeekdays.begin(), kTypeTwoWeekdays.end());
  for (int m = 1; m <= 12; ++m) names.push_back(TypeTwoMonthName(m));
  for (int d = 1; d <= 31; ++d) names.push_back(TypeTwoDayName(d));
  for (int h = 0; h <= 23; ++h) names.push_back(TypeTwoHourName(h));
  for (int m = 0; m <= 59; ++m) names.push_back(TypeTwoMinuteName(m));
  return names;
}

}  // namespace chimewell
