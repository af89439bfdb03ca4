#include "schedule/script_lexer.h"

#include <cstdint>

namespace chimewell {
namespace {

constexpr char kErrorMark[] = "#!ERROR ";

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '\t'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

// Where an unquoting walk stands: the open quote (0 for none) and whether the last character
// was a quote equal to the open one, which either closes the section or starts a doubled quote.
struct QuoteState {
  char open = 0;
  bool closing = false;
};

// Moves the walk over one character; true when the character belongs to the result.
bool Advance(QuoteState& state, char c) {
  if (!IsQuote(c)) {
    if (state.closing) state = {};
    return true;
  }
  if (c == state.open) {
    if (state.closing) {
      state.closing = false;
      return true;
    }
    state.closing = true;
    return false;
  }
  if (state.closing) state = {};
  if (state.open == 0) {
    state.open = c;
    return false;
  }
  return true;
}

bool Accepts(const QuoteState& state) { return state.open == 0 || state.closing; }

// Answers "would this text unquote cleanly" for texts that share one end and grow to the left,
// in time linear in their total growth. The splitter asks this for every opening-quote
// candidate of a pending quoted item; unquoting each afresh would make a line full of doubled
// quotes cost quadratic time.
class SharedEndUnquoteCheck {
 public:
  // Starts for texts ending at `end` of `text`.
  void Reset(std::string_view text, size_t end) {
    text_ = text;
    begin_ = end;
    good_ = 0;
    for (int s = 0; s < kStates; ++s) {
      if (Accepts(Decode(s))) good_ |= 1u << s;
    }
  }
  // Whether text[from, end) unquotes cleanly; `from` may only move left between calls.
  bool AcceptsFrom(size_t from) {
    while (begin_ > from) {
      const char c = text_[--begin_];
      unsigned good = 0;
      for (int s = 0; s < kStates; ++s) {
        QuoteState state = Decode(s);
        Advance(state, c);
        if (good_ & (1u << Encode(state))) good |= 1u << s;
      }
      good_ = good;
    }
    return good_ & 1u;  // state 0: the walk's start, no quote open
  }

 private:
  static constexpr int kStates = 5;
  static QuoteState Decode(int s) {
    if (s == 0) return {};
    return {(s - 1) / 2 == 0 ? '"' : '\'', (s - 1) % 2 == 1};
  }
  static int Encode(const QuoteState& state) {
    if (state.open == 0) return 0;
    return 1 + (state.open == '"' ? 0 : 2) + (state.closing ? 1 : 0);
  }

  std::string_view text_;
  size_t begin_ = 0;
  unsigned good_ = 0;
};

}  // namespace

const std::array<std::string_view, 35> kWeekdayNames = {
    "Sun", "Sunday",    "日", "日曜", "日曜日",  //
    "Mon", "Monday",    "月", "月曜", "月曜日",  //
    "Tue", "Tuesday",   "火", "火曜", "火曜日",  //
    "Wed", "Wednesday", "水", "水曜", "水曜日",  //
    "Thu", "Thursday",  "木", "木曜", "木曜日",  //
    "Fri", "Friday",    "金", "金曜", "金曜日",  //
    "Sat", "Saturday",  "土", "土曜", "土曜日",
};

std::string_view TrimScheduleText(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool UnquoteToken(std::string_view text, std::string& result) {
  result.clear();
  QuoteState state;
  for (const char c : text) {
    if (Advance(state, c)) result += c;
  }
  return Accepts(state);
}

bool SplitScheduleLine(std::string_view line, std::vector<std::string>& items) {
  const std::string_view text = TrimScheduleText(line);
  std::vector<std::string> reversed;  // taken from the right, so collected back to front
  std::string token;
  bool ok = true;
  auto insert_if_not_empty = [&](std::string_view item) {
    if (!item.empty()) reversed.emplace_back(item);
  };

  // The remaining line is text[0, end). A pending item (the right part of a quoted item whose
  // opening quote is still to come) is always text[end, pending_end), so it is never copied.
  size_t end = text.size();
  size_t pending_end = 0;
  bool pending = false;
  SharedEndUnquoteCheck pending_check;

  while (true) {
    size_t s = end;
    while (s > 0 && !IsSeparator(text[s - 1])) --s;
    if (s == 0) break;
    --s;  // the separator itself
    const std::string_view candidate = text.substr(s + 1, end - s - 1);
    if (!pending) {
      if (!candidate.empty() && IsQuote(candidate.back())) {
        if (UnquoteToken(TrimScheduleText(candidate), token)) {
          insert_if_not_empty(token);
        } else {
          pending = true;
          pending_end = end;
          pending_check.Reset(text, pending_end);
        }
      } else if (!candidate.empty() && IsQuote(candidate.front())) {
        reversed.push_back(kErrorMark + std::string(candidate));
        ok = false;
      } else {
        insert_if_not_empty(candidate);
      }
    } else if (!candidate.empty() && candidate.front() == text[pending_end - 1]) {
      // Candidate and pending item both start and end with a quote, so trimming is a no-op.
      if (pending_check.AcceptsFrom(s + 1)) {
        UnquoteToken(text.substr(s + 1, pending_end - s - 1), token);
        insert_if_not_empty(token);
        pending = false;
      }
    }
    end = s;
  }

  const std::string_view rest = text.substr(0, pending ? pending_end : end);
  if (UnquoteToken(TrimScheduleText(rest), token)) {
    insert_if_not_empty(token);
  } else {
    reversed.push_back(kErrorMark + std::string(rest));
    ok = false;
  }
  items.insert(items.end(), std::make_move_iterator(reversed.rbegin()),
               std::make_move_iterator(reversed.rend()));
  return ok;
}

int ParseDecimal(std::string_view text) {
  if (text.empty() || text.size() > 9) return -1;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

int ParseClockTime(std::string_view text) {
  int hours = 0;
  std::string_view rest = text;
  if (const size_t colon = text.find(':'); colon != std::string_view::npos) {
    hours = ParseDecimal(text.substr(0, colon));
    rest = text.substr(colon + 1);
  }
  int minutes = 0;
  int seconds = 0;
  if (const size_t stop = rest.find('.'); stop != std::string_view::npos) {
    minutes = ParseDecimal(rest.substr(0, stop));
    seconds = ParseDecimal(rest.substr(stop + 1));
  } else {
    minutes = ParseDecimal(rest);
  }
  if (hours < 0 || hours > 24 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
    return -1;
  }
  return hours * 3600 + minutes * 60 + seconds;
}

int WeekdayOfName(std::string_view name) {
  for (size_t p = 0; p < kWeekdayNames.size(); ++p) {
    if (kWeekdayNames[p] == name) return static_cast<int>(p / 5) + 1;
  }
  return 0;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace chimewell
