#include "web/quiet_fields.h"

#include <string>

#include "app/quiet_hours.h"
#include "core/html_escape.h"
#include "web/form_texts.h"
#include "web/text_util.h"

namespace chimewell {
namespace {

constexpr int kWeekdays = 7;

std::string DayField(int weekday) { return "QUIETDAY" + std::to_string(weekday); }

// The time as sent, blanks trimmed; refused (with a notice) when it is not empty and no time.
// A field not sent at all keeps `stored`.
std::optional<std::string> ReadTime(RequestContext& ctx, std::string_view field,
                                    std::string_view label, const std::string& stored) {
  if (!ctx.Sent(field)) return stored;
  const std::string sent(TrimBlanksAndControls(ctx.Param(field)));
  if (sent.empty() || ParseQuietTime(sent)) return sent;
  ctx.AddNotice(form_texts::QuietTimeRefused(label, sent));
  return std::nullopt;
}

}  // namespace

void ReadQuietFields(RequestContext& ctx, ConfigSettings& config) {
  if (!ctx.Has("QUIETSET")) return;  // a page made before the fields existed
  // The box, when ticked, comes before the hidden 0 that stands for it unticked.
  config.QuietWhenBusy = ctx.Param("QUIETBUSY") == "1";
  int days = 0;
  for (int weekday = 1; weekday <= kWeekdays; ++weekday) {
    if (ctx.Param(DayField(weekday)) == "1") days |= 1 << weekday;
  }
  const auto from = ReadTime(ctx, "QUIETFROM", form_texts::kQuietFromLabel, config.QuietFrom);
  const auto to = ReadTime(ctx, "QUIETTO", form_texts::kQuietToLabel, config.QuietTo);
  if (!from || !to) return;
  config.QuietFrom = *from;
  config.QuietTo = *to;
  config.QuietDays = days;
  if (from->empty() && to->empty()) return;
  if (from->empty() || to->empty()) {
    ctx.AddNotice(std::string(form_texts::kQuietHalfGiven));
  } else if (ParseQuietTime(*from) == ParseQuietTime(*to)) {
    ctx.AddNotice(std::string(form_texts::kQuietSameTimes));
  } else if (days == 0) {
    ctx.AddNotice(std::string(form_texts::kQuietNoDays));
  }
}

void AppendQuietValues(ReplacementList& list, const ConfigSettings& config) {
  list.Add("$!QUIETFROM!$", HtmlEscape(config.QuietFrom));
  list.Add("$!QUIETTO!$", HtmlEscape(config.QuietTo));
  for (int weekday = 1; weekday <= kWeekdays; ++weekday) {
    list.Add("$!" + DayField(weekday) + "!$", (config.QuietDays >> weekday & 1) ? "checked" : "");
  }
  list.Add("$!QUIETBUSY!$", config.QuietWhenBusy ? "checked" : "");
  const bool off = config.QuietFrom.empty() && config.QuietTo.empty();
  list.Add("$!QUIETSTATE!$", off ? form_texts::kQuietOff : std::string_view());
}

void AppendBusyUnwatchedNote(ReplacementList& list, std::span<const std::string> reasons) {
  std::string note;
  for (const std::string& reason : reasons) {
    if (!note.empty()) note += "<BR>";
    AppendHtmlEscaped(note, reason);
  }
  list.Add("$!QUIETBUSYNOTE!$", note);
}

}  // namespace chimewell
