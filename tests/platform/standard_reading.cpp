#include "platform/standard_reading.h"

#include <array>
#include <utility>

namespace chimewell {
namespace {

using Table = std::array<std::string_view, 10>;  // by last digit; "A|B": either is standard

constexpr Table kDigits = {"", "イチ", "ニ", "サン", "ヨン", "ゴ", "ロク", "ナナ", "ハチ", "キュー"};

// A counter's readings: for 0, by last digit (1..9), and for a whole ten (after ニ, サン, ...).
struct Counter {
  std::string_view written;
  std::string_view zero;
  Table last_digit;
  std::string_view tens;
};

constexpr Counter kCounters[] = {
    {"時", "レージ",
     {"", "イチジ", "ニジ", "サンジ", "ヨジ", "ゴジ", "ロクジ", "シチジ", "ハチジ", "クジ"},
     "ジュージ"},
    {"分", "レーフン",
     {"", "イップン", "ニフン", "サンプン", "ヨンプン", "ゴフン", "ロップン", "ナナフン",
      "ハップン|ハチフン", "キューフン"},
     "ジュップン|ジップン"},
    {"秒", "レービョー",
     {"", "イチビョー", "ニビョー", "サンビョー", "ヨンビョー", "ゴビョー", "ロクビョー",
      "ナナビョー", "ハチビョー", "キュービョー"},
     "ジュービョー"},
    {"年", "",
     {"", "イチネン", "ニネン", "サンネン", "ヨネン", "ゴネン", "ロクネン", "シチネン|ナナネン",
      "ハチネン", "キューネン|クネン"},
     "ジューネン"},
    {"日", "",
     {"", "イチニチ", "ニニチ", "サンニチ", "ヨッカ", "ゴニチ", "ロクニチ", "シチニチ",
      "ハチニチ", "クニチ"},
     "ジューニチ"},
};

// Days of the month with a reading of their own.
constexpr std::pair<int, std::string_view> kDates[] = {
    {1, "ツイタチ"}, {2, "フツカ"},   {3, "ミッカ"},    {4, "ヨッカ"},   {5, "イツカ"},
    {6, "ムイカ"},   {7, "ナノカ"},   {8, "ヨーカ"},    {9, "ココノカ"}, {10, "トーカ"},
    {14, "ジューヨッカ"}, {20, "ハツカ"}, {24, "ニジューヨッカ"}};

constexpr std::string_view kMonths[] = {"",         "イチガツ",   "ニガツ",     "サンガツ",
                                        "シガツ",   "ゴガツ",     "ロクガツ",   "シチガツ",
                                        "ハチガツ", "クガツ",     "ジューガツ", "ジューイチガツ",
                                        "ジューニガツ"};

constexpr size_t kEraWords = 5;  // the first words below; their year 1 is 元年
constexpr std::string_view kFirstYear = "ガンネン";

constexpr std::pair<std::string_view, std::string_view> kWords[] = {
    {"令和", "レーワ"},       {"平成", "ヘーセー"},     {"昭和", "ショーワ"},
    {"大正", "タイショー"},   {"明治", "メージ"},       {"午前", "ゴゼン"},
    {"午後", "ゴゴ"},         {"です", "デス"},         {"月曜日", "ゲツヨービ"},
    {"火曜日", "カヨービ"},   {"水曜日", "スイヨービ"}, {"木曜日", "モクヨービ"},
    {"金曜日", "キンヨービ"}, {"土曜日", "ドヨービ"},   {"日曜日", "ニチヨービ"},
};

constexpr std::string_view kBlank = " ";
constexpr std::string_view kMonth = "月";
constexpr std::string_view kTen = "ジュー";

std::vector<std::string> Alternatives(std::string_view prefix, std::string_view choices) {
  std::vector<std::string> out;
  for (size_t start = 0;;) {
    const size_t bar = choices.find('|', start);
    out.push_back(std::string(prefix).append(choices.substr(start, bar - start)));
    if (bar == std::string_view::npos) return out;
    start = bar + 1;
  }
}

std::optional<std::vector<std::string>> CountedReading(int n, std::string_view counter) {
  if (counter == kMonth) {
    if (n < 1 || n > 12) return std::nullopt;
    return std::vector<std::string>{std::string(kMonths[n])};
  }
  if (counter == "日") {
    for (const auto& [day, reading] : kDates) {
      if (day == n) return std::vector<std::string>{std::string(reading)};
    }
  }
  for (const Counter& c : kCounters) {
    if (c.written != counter) continue;
    if (n == 0) return c.zero.empty() ? std::nullopt : std::optional(Alternatives("", c.zero));
    if (n >= 100) return std::nullopt;
    const int tens = n / 10, last = n % 10;
    const std::string tens_prefix = tens > 1 ? std::string(kDigits[tens]) : "";
    if (last == 0) return Alternatives(tens_prefix, c.tens);
    return Alternatives(tens == 0 ? "" : tens_prefix + std::string(kTen), c.last_digit[last]);
  }
  return std::nullopt;
}

}  // namespace

std::optional<ReadingPieces> StandardReading(std::string_view text) {
  ReadingPieces pieces;
  bool after_era = false;
  while (!text.empty()) {
    if (text.starts_with(kBlank)) {
      text.remove_prefix(kBlank.size());
      after_era = false;
      continue;
    }
    if (text[0] >= '0' && text[0] <= '9') {
      int n = 0;
      size_t digits = 0;
      while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && n < 1000) {
        n = n * 10 + (text[digits++] - '0');
      }
      text.remove_prefix(digits);
      bool counted = false;
      for (const std::string_view counter : {"年", "月", "日", "時", "分", "秒"}) {
        if (!text.starts_with(counter)) continue;
        auto reading = after_era && n == 1 && counter == std::string_view("年")
                           ? std::vector<std::string>{std::string(kFirstYear)}
                           : CountedReading(n, counter);
        if (!reading) return std::nullopt;
        pieces.push_back(std::move(*reading));
        text.remove_prefix(counter.size());
        counted = true;
        break;
      }
      if (!counted) return std::nullopt;
      after_era = false;
      continue;
    }
    bool known = false;
    for (size_t i = 0; i < std::size(kWords) && !known; ++i) {
      const auto& [written, reading] = kWords[i];
      if (!text.starts_with(written)) continue;
      pieces.push_back({std::string(reading)});
      text.remove_prefix(written.size());
      known = true;
      after_era = i < kEraWords;
    }
    if (!known) return std::nullopt;
  }
  return pieces;
}

bool IsReadAs(std::string_view pronunciation, const ReadingPieces& pieces) {
  // Depth-first over the alternatives: the texts are short and alternatives rare.
  auto match = [&pieces](auto& self, std::string_view rest, size_t piece) -> bool {
    if (piece == pieces.size()) return rest.empty();
    for (const std::string& reading : pieces[piece]) {
      if (rest.starts_with(reading) && self(self, rest.substr(reading.size()), piece + 1)) {
        return true;
      }
    }
    return false;
  };
  return match(match, pronunciation, 0);
}

std::string FirstReading(const ReadingPieces& pieces) {
  std::string text;
  for (const auto& piece : pieces) text += piece.front();
  return text;
}

}  // namespace chimewell
