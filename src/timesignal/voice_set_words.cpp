#include "timesignal/voice_set_words.h"

#include <array>
#include <cstdlib>
#include <map>

#include "timesignal/compose_rules.h"
#include "timesignal/voice_lists.h"

namespace chimewell {
namespace {

using compose::Concat;
using compose::TwoDigits;

// The words the speech engine is given. Bare digits and morae are written in katakana so they
// are read as such and not taken for a longer word; counters are written as numerals with their
// kanji so the engine applies the right sound changes (8分 はっぷん).
constexpr std::array<const char*, 10> kDigitsKana = {"ゼロ", "イチ", "ニ",   "サン", "ヨン",
                                                     "ゴ",   "ロク", "シチ", "ハチ", "ク"};
constexpr std::array<const char*, 22> kEnglishNumbers = {"ゼロ",
                                                         "ワン",
                                                         "ツー",
                                                         "スリー",
                                                         "フォー",
                                                         "ファイブ",
                                                         "シックス",
                                                         "セブン",
                                                         "エイト",
                                                         "ナイン",
                                                         "テン",
                                                         "イレブン",
                                                         "トゥエルブ",
                                                         "サーティーン",
                                                         "フォーティーン",
                                                         "フィフティーン",
                                                         "シックスティーン",
                                                         "セブンティーン",
                                                         "エイティーン",
                                                         "ナインティーン",
                                                         "トゥエンティ",
                                                         "トゥエンティワン"};
constexpr std::array<const char*, 6> kEnglishTens = {"",         "テン",       "トゥエンティ",
                                                     "サーティ", "フォーティ", "フィフティ"};

// "ジュウ", "ニジュウ" .. "ゴジュウ" for t = 1..5.
std::string TensKana(int t) { return Concat({t == 1 ? "" : kDigitsKana[t], "ジュウ"}); }

VoiceFileContent Say(std::string text) { return {VoiceFileContent::Kind::kSpeech, text, {}, 0}; }
VoiceFileContent Tone(std::vector<double> hz, double seconds) {
  return {VoiceFileContent::Kind::kTone, {}, std::move(hz), seconds};
}

// "ITI.WAV" and the like.
VoiceFileContent TypeOne(std::string_view name) {
  static const std::map<std::string_view, const char*> words = {
      {"GOZEN.WAV", "午前"},  {"GOGO.WAV", "午後"},   {"JI.WAV", "ジ"},
      {"REI.WAV", "レイ"},    {"ITI.WAV", "イチ"},    {"NI.WAV", "ニ"},
      {"SAN.WAV", "サン"},    {"YON.WAV", "ヨン"},    {"GO.WAV", "ゴ"},
      {"ROKU.WAV", "ロク"},   {"SITI.WAV", "シチ"},   {"HATI.WAV", "ハチ"},
      {"KU.WAV", "ク"},       {"JYUU.WAV", "ジュウ"}, {"IPPUN.WAV", "1分"},
      {"NIHUN.WAV", "2分"},   {"SANHUN.WAV", "3分"},  {"YONHUN.WAV", "4分"},
      {"GOHUN.WAV", "5分"},   {"ROPPUN.WAV", "6分"},  {"NANAHUN.WAV", "7分"},
      {"HATIHUN.WAV", "8分"}, {"KYUUHUN.WAV", "9分"}, {"JYUPPUN.WAV", "10分"},
      {"DA.WAV", "ダ"},       {"DESU.WAV", "です"},   {"YADE.WAV", "やで"},
      {"YO.WAV", "ヨ"}};
  const auto it = words.find(name);
  return Say(it == words.end() ? "" : it->second);
}

// "28_3月.wav": the word after the number; hours "105_5H.wav" and minutes "129_05.wav" get
// their counters, and minute 0 ("184_60.wav") says the hour is full.
VoiceFileContent TypeTwo(std::string_view name) {
  std::string_view word = name.substr(name.find('_') + 1);
  word.remove_suffix(word.size() >= 4 ? 4 : 0);  // ".wav"
  const int number = std::atoi(std::string(name.substr(0, name.find('_'))).c_str());
  if (number >= 100 && number <= 124 && !word.empty() && word.back() == 'H') {
    word.remove_suffix(1);
    return Say(Concat({word, "時"}));
  }
  if (number == 184) return Say("ちょうど");
  if (number >= 125 && number <= 183) return Say(std::to_string(number - 124) + "分");
  return Say(std::string(word));
}

std::string EnglishNumber(int n) {
  if (n <= 21) return kEnglishNumbers[n];
  return Concat({kEnglishTens[n / 10], n % 10 ? kEnglishNumbers[n % 10] : ""});
}

// English words: "05.WAV" ファイブ, "07M.WAV" セブン, "03HPM.WAV" スリーピーエム.
VoiceFileContent TypeThree(std::string_view name) {
  std::string_view stem = name.substr(0, name.size() - 4);  // ".WAV"
  if (stem == "OCLOCK") return Say("オクロック");
  if (stem == "Y") return Say("アンド");
  if (stem == "30M") return Say("ハーフパスト");
  if (stem == "024AM") return Say("フォーエーエム");
  const size_t digits = stem.find_first_not_of("0123456789");
  const int n = std::atoi(std::string(stem.substr(0, digits)).c_str());
  const std::string_view suffix = digits == std::string_view::npos ? "" : stem.substr(digits);
  if (suffix == "HAM") return Say(EnglishNumber(n) + "エーエム");
  if (suffix == "HPM") return Say(EnglishNumber(n) + "ピーエム");
  return Say(EnglishNumber(n));  // plain numbers, "H", "M" and "Y" files
}

// "08ji.wav", "30fun.wav", "20byo.wav", the greetings and the tones.
VoiceFileContent TypeFour(std::string_view name) {
  if (name == "gozen.wav") return Say("午前");
  if (name == "gogo.wav") return Say("午後");
  if (name == "tyoudo.wav") return Say("ちょうど");
  if (name == "tadaima.wav") return Say("ただいま");
  if (name == "oshirase.wav") return Say("をお知らせします");
  // Telephone keys 1 and 7, then the beeps of a time signal: short, long and a tick.
  if (name == "DTMF1.wav") return Tone({697, 1209}, 0.2);
  if (name == "DTMF7.wav") return Tone({852, 1209}, 0.2);
  if (name == "pi.wav") return Tone({440}, 0.1);
  if (name == "pon.wav") return Tone({880}, 1.0);
  if (name == "ti.wav") return Tone({1000}, 0.03);
  const int n = std::atoi(std::string(name).c_str());
  const std::string_view rest = name.substr(2);
  if (rest == "ji.wav") return Say(std::to_string(n) + "時");
  if (rest == "fun.wav") return Say(n == 0 ? "0分" : std::to_string(n) + "分");
  if (rest == "byo.wav") return Say(std::to_string(n) + "秒");
  return Say(TensKana(n / 10));  // "10.wav" .. "50.wav"
}

VoiceFileContent TypeFive(std::string_view name) {
  static const std::map<std::string_view, const char*> words = {
      {"AM.WAV", "午前"},  {"PM.WAV", "午後"},  {"HAN.WAV", "ハン"},
      {"L_0.WAV", "です"}, {"L_1.WAV", "だよ"}, {"L_2.WAV", "でございます"},
      {"L_3.WAV", "やで"}, {"L_4.WAV", "ヨ"},   {"M22.WAV", "22分"}};
  if (name == "BLANK.WAV") return {VoiceFileContent::Kind::kSilence, {}, {}, 0.3};
  if (const auto it = words.find(name); it != words.end()) return Say(it->second);
  const std::string_view stem = name.substr(0, name.size() - 4);
  const int number = std::atoi(std::string(stem.substr(stem.find_first_of("0123456789"))).c_str());
  if (stem.substr(0, 1) == "o") return Say(std::to_string(number) + "時");
  if (stem.substr(0, 2) == "TM") return Say(TensKana(number / 10));
  if (stem.substr(0, 2) == "M_") return Say(kDigitsKana[number]);
  return Say(std::to_string(number) + "分");  // "M1" .. "M50"
}

}  // namespace

VoiceFileContent VoiceFileContentFor(int type, std::string_view name) {
  switch (type) {
    case 1:
      return TypeOne(name);
    case 2:
      return TypeTwo(name);
    case 3:
      return TypeThree(name);
    case 4:
      return TypeFour(name);
    case 5:
      return TypeFive(name);
    default:
      return Say("");
  }
}

std::vector<std::string> VoiceSetNames(int type) {
  return type == 2 ? TypeTwoAllNames() : VoiceList(type);
}

}  // namespace chimewell
