#include "timesignal/composition.h"

#include <cstdio>

#include "core/ascii_text.h"
#include "core/speech_text.h"
#include "timesignal/compose_rules.h"
#include "timesignal/messages.h"

namespace chimewell {
namespace compose {

std::optional<int> TokenNumber(std::string_view lower, std::string_view prefix) {
  if (lower.size() <= prefix.size() || lower.substr(0, prefix.size()) != prefix) return {};
  int n = 0;
  for (const char ch : lower.substr(prefix.size())) {
    if (ch < '0' || ch > '9') return {};
    if (n < 1000000) n = n * 10 + (ch - '0');
  }
  return n;
}

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (const std::string_view part : parts) joined.append(part);
  return joined;
}

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace compose

namespace {

namespace text = timesignal_text;

compose::TokenContext MakeContext(const ComposeRequest& request, std::string_view format) {
  compose::TokenContext c;
  c.time = DecodeDateTime(request.moment);
  c.weekday = DayOfWeek(request.moment);
  c.variant = request.variant;
  const std::string lower = AsciiLowerCopy(format);
  const bool has_sec = lower.find("[sec]") != std::string::npos;
  const bool has_min = lower.find("[min]") != std::string::npos;
  const int counting_second = request.type == 4 ? 10 : 1;
  c.seconds_spoken = has_sec && c.time.second >= counting_second;
  c.minutes_spoken = has_min && c.time.minute != 0;
  c.odd_minutes_spoken = c.minutes_spoken && c.time.minute % 10 != 0;
  return c;
}

// Appends the items of one token; false when the token means nothing to the type.
bool ComposeToken(const ComposeRequest& request, const compose::TokenContext& c,
                  std::string_view token, std::vector<ComposedItem>& items) {
  const std::string lower = AsciiLowerCopy(token);
  if (const auto n = compose::TokenNumber(lower, "addon")) {
    if (*n < 1 || *n > 16) return false;
    items.push_back({ComposedItem::Kind::kAddOn, {}, *n});
    return true;
  }
  if (const auto n = compose::TokenNumber(lower, "addoff")) {
    if (*n < 1 || *n > 16) return false;
    items.push_back({ComposedItem::Kind::kAddOff, {}, *n});
    return true;
  }
  compose::Names names;
  bool known = false;
  switch (request.type) {
    case 1:
      known = compose::TypeOneToken(c, token, lower, names);
      break;
    case 2:
      known = compose::TypeTwoToken(c, lower, names);
      break;
    case 3:
      known = compose::TypeThreeToken(c, lower, names);
      break;
    case 4:
      known = compose::TypeFourToken(c, token, lower, names);
      break;
    case 5:
      known = compose::TypeFiveToken(c, lower, names);
      break;
    default:
      break;
  }
  for (std::string& name : names) {
    items.push_back({ComposedItem::Kind::kVoiceFile, std::move(name), 0});
  }
  return known;
}

void AddReport(std::vector<ComposedItem>& items, std::string line) {
  items.push_back({ComposedItem::Kind::kReport, std::move(line), 0});
}

std::string Bracketed(std::string_view what, std::string_view suffix) {
  return compose::Concat({"[", what, suffix});
}

}  // namespace

std::string_view DefaultFormat(int type, int variant) {
  switch (type) {
    case 1:
      return "[AMPM][HOUR][MIN][OPT1]";
    case 2:
      return "[HH24][MIN][OPT24]";
    case 3:
      return variant == 6 ? "[MIN][HH24]" : "[HH24][MIN]";
    case 4:
      return "[AMPM][HOUR][MIN][OPT4]";
    case 5:
      return "[AMPM][HOUR][MIN][OPT1]";
    default:
      return {};
  }
}

std::vector<ComposedItem> ComposeFragments(const ComposeRequest& request) {
  std::vector<ComposedItem> items;
  if (request.type < 1 || request.type > 5) {
    AddReport(items, std::string(text::kUnsupportedTypeOnPlay));
    return items;
  }
  const std::string format =
      ExpandDefaultToken(request.format, DefaultFormat(request.type, request.variant));
  const compose::TokenContext context = MakeContext(request, format);

  std::string_view rest = format;
  while (!rest.empty()) {
    const size_t close = rest.find(']', 1);
    if (rest.front() != '[' || close == std::string_view::npos) break;
    const std::string_view token = rest.substr(1, close - 1);
    if (!ComposeToken(request, context, token, items)) {
      AddReport(items, Bracketed(token, text::kUnknownTokenSuffix));
    }
    rest.remove_prefix(close + 1);
  }
  if (!rest.empty()) {
    AddReport(items, Bracketed(rest, text::kLeftOverSuffix));
  }
  return items;
}

}  // namespace chimewell
