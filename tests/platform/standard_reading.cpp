#include "platform/standard_reading.h"

#include <array>
#include <utility>

namespace chimewell {
namespace {

using Table = std::array<std::string_view, 10>;  // by last digit; "A|B": either is standard

constexpr Table kDigits = {"",   "イチ", "ニ",   "サン", "ヨン",
                           "ゴ", "ロク", "ナナ", "ハチ", "キュー"};

// A counter's readings: for 0, by last digit (1..9), and for a whole ten (after ニ, サン, ...).
struct Counter {
  std::string_view written;
  std::string_view zero;
  Table last_digit;
  std::string_view tens;
};

constexpr Counter kCounters[] = {
    {"時",
     "レージ",
     {"", "イチジ", "ニジ", "サンジ", "ヨジ", "ゴジ", "ロクジ", "シチジ", "ハチジ", "クジ"},
     "ジュージ"},
    {"分",
     "レーフン",
     {"", "イップン", "ニフン", "サンプン", "ヨンプン", "ゴフン", "ロップン", "ナナフン",
      "ハップン|ハチフン", "キューフン"},
     "ジュップン|ジップン"},
    {"秒",
     "レービョー",
     {"", "イチビョー", "ニビョー", "サンビョー", "ヨンビョー", "ゴビョー", "ロクビョー",
      "ナナビョー", "ハチビョー", "キュービョー"},
     "ジュービョー"},
    {"年",
     "",
     {"", "イチネン", "ニネン", "サンネン", "ヨネン", "ゴネン", "ロクネン", "シチネン|ナナネン",
      "ハチネン", "キューネン|クネン"},
     "ジューネン"},
    {"日",
     "",
     {"", "イチニチ", "ニニチ", "サンニチ", "ヨッカ", "ゴニチ", "ロクニチ", "シチニチ", "ハチニチ",
      "クニチ"},
     "ジューニチ"},
    {"月",
     "",
     {"", "イチガツ", "ニガツ", "サンガツ", "シガツ", "ゴガツ", "ロクガツ", "シチガツ", "ハチガツ",
      "クガツ"},
     "ジューガツ"},
};

// A year's thousands and hundreds (2028年 ニセン ニジューハチネン).
constexpr Table kThousands = {"",       "セン",     "ニセン",   "サンゼン", "ヨンセン",
                              "ゴセン", "ロクセン", "ナナセン", "ハッセン", "キューセン"};
constexpr Table kHundreds = {"",         "ヒャク",     "ニヒャク",   "サンビャク", "ヨンヒャク",
                             "ゴヒャク", "ロッピャク", "ナナヒャク", "ハッピャク", "キューヒャク"};
constexpr std::string_view kBareYear = "ネン";

// Days of the month with a reading of their own.
constexpr std::pair<int, std::string_view> kDates[] = {
    {1, "ツイタチ"},      {2, "フツカ"},  {3, "ミッカ"},         {4, "ヨッカ"},   {5, "イツカ"},
    {6, "ムイカ"},        {7, "ナノカ"},  {8, "ヨーカ"},         {9, "ココノカ"}, {10, "トーカ"},
    {14, "ジューヨッカ"}, {20, "ハツカ"}, {24, "ニジューヨッカ"}};

constexpr size_t kEraWords = 5;  // the first words below; their year 1 is 元年
constexpr char kFirstYear[] = "ガンネン";

constexpr std::pair<std::string_view, std::string_view> kWords[] = {
    {"令和", "レーワ"},       {"平成", "ヘーセー"},     {"昭和", "ショーワ"},
    {"大正", "タイショー"},   {"明治", "メージ"},       {"午前", "ゴゼン"},
    {"午後", "ゴゴ"},         {"です", "デス"},         {"月曜日", "ゲツヨービ"},
    {"火曜日", "カヨービ"},   {"水曜日", "スイヨービ"}, {"木曜日", "モクヨービ"},
    {"金曜日", "キンヨービ"}, {"土曜日", "ドヨービ"},   {"日曜日", "ニチヨービ"},
};

constexpr std::string_view kBlank = " ";
constexpr std::string_view kDay = "日";
constexpr std::string_view kYear = "年";
constexpr size_t kCounterBytes = 3;  // every counter is one kanji
constexpr std::string_view kTen = "ジュー";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<std::string> Alternatives(std::string_view prefix, std::string_view choices) {
  std::vector<std::string> out;
  for (size_t start = 0;;) {
    const size_t bar = choices.find('|', start);
    out.push_back(std::string(prefix).append(choices.substr(start, bar - start)));
    if (bar == std::string_view::npos) return out;
    start = bar + 1;
  }
}

std::optional<std::vector<std::string>> CountedReading(int n, std::string_view counter);

std::optional<std::vector<std::string>> LongYearReading(int year) {
  const std::string prefix =
      std::string(kThousands[year / 1000]).append(kHundreds[year / 100 % 10]);
  if (year % 100 == 0) return std::vector<std::string>{prefix + std::string(kBareYear)};
  auto readings = CountedReading(year % 100, kYear);
  for (std::string& reading : *readings) reading.insert(0, prefix);
  return readings;
}

std::optional<std::vector<std::string>> CountedReading(int n, std::string_view counter) {
  if (counter == kDay) {
    for (const auto& [day, reading] : kDates) {
      if (day == n) return std::vector<std::string>{std::string(reading)};
    }
  }
  for (const Counter& c : kCounters) {
    if (c.written != counter) continue;
    if (n == 0) return c.zero.empty() ? std::nullopt : std::optional(Alternatives("", c.zero));
    if (n >= 100) return counter == kYear && n < 10000 ? LongYearReading(n) : std::nullopt;
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
    std::optional<std::vector<std::string>> piece;
    size_t length = 0;
    if (text.starts_with(kBlank)) {
      piece.emplace();  // a pause, nothing read
      length = kBlank.size();
      after_era = false;
    } else if (IsDigit(text[0])) {
      int n = 0;
      while (length < text.size() && IsDigit(text[length]) && n < 1000) {
        n = n * 10 + (text[length++] - '0');
      }
      const std::string_view counter = text.substr(length, kCounterBytes);
      piece = after_era && n == 1 && counter == kYear ? std::vector<std::string>{kFirstYear}
                                                      : CountedReading(n, counter);
      length += counter.size();
      after_era = false;
    } else {
      for (size_t i = 0; i < std::size(kWords) && !piece; ++i) {
        if (!text.starts_with(kWords[i].first)) continue;
        piece = {std::string(kWords[i].second)};
        length = kWords[i].first.size();
        after_era = i < kEraWords;
      }
    }
    if (!piece) return std::nullopt;
    if (!piece->empty()) pieces.push_back(std::move(*piece));
    text.remove_prefix(length);
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
