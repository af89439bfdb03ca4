#include "web/base_form.h"

#include <algorithm>

#include "app/application.h"
#include "core/html_escape.h"
#include "core/log.h"
#include "core/number_text.h"
#include "web/access_password_form.h"
#include "web/form_texts.h"
#include "web/quiet_fields.h"

namespace chimewell {
namespace {

// A number of the form: what an absent or unreadable value becomes, and the range a value is
// clamped into.
struct NumberField {
  std::string_view name;
  std::string_view label;  // as the page names the field
  int fallback;
  int low;
  int high;
};

constexpr NumberField kSpeakOffset{"SPEAKOFFSET", form_texts::kSpeakOffsetLabel, 0, 0, 10000};
constexpr NumberField kDefaultVolume{"MIDIVOLUME", form_texts::kDefaultVolumeLabel, 80, 10, 100};
constexpr NumberField kBackVolume{"MIDIBACK", form_texts::kBackVolumeLabel, 30, 0, 100};
constexpr NumberField kLateLimit{"LATELIMIT", form_texts::kLateLimitLabel, 60, 0, kMaxLateLimit};

// How much of a value that is not a number the page repeats.
constexpr size_t kQuotedChars = 20;

// The value to store for `field`, clamped as ever; when it is not what was sent, the page
// says what was stored instead. A field the request does not carry at all (a script that
// sends only what it changes) keeps `stored`.
int ReadNumber(RequestContext& ctx, const NumberField& field, int stored_value) {
  if (!ctx.Sent(field.name)) return stored_value;
  const std::string sent = ctx.Param(field.name);
  const std::optional<int> number = ParseDecimalInteger(sent);
  if (!number) {
    if (!sent.empty()) {
      ctx.AddNotice(form_texts::ValueNotANumber(field.label, ShortenForLog(sent, kQuotedChars),
                                              field.fallback));
    }
    return field.fallback;
  }
  const int stored = std::clamp(*number, field.low, field.high);
  if (stored != *number) {
    ctx.AddNotice(form_texts::ValueOutOfRange(field.label, field.low, field.high, stored));
  }
  return stored;
}

}  // namespace

bool HandleBaseForm(RequestContext& ctx) {
  if (!ctx.Has("BASESET")) return false;
  ctx.open_section = PageSection::kBase;
  ctx.error_text = CheckAccessPasswordFields(ctx);
  if (!ctx.error_text.empty()) return true;
  ConfigSettings config = ctx.app.Config();
  config.SpeakOffset = ReadNumber(ctx, kSpeakOffset, config.SpeakOffset);
  // Anything but the three actions means the first, not the nearest.
  if (ctx.Sent("TTRAY")) {
    const int double_click = ctx.IntParam("TTRAY", -1);
    config.DoubleClick = double_click >= 0 && double_click <= 2 ? double_click : 0;
    if (config.DoubleClick != double_click) {
      ctx.AddNotice(form_texts::ValueOutOfRange(form_texts::kDoubleClickLabel, 0, 2, 0));
    }
  }
  config.DefaultVolume = ReadNumber(ctx, kDefaultVolume, config.DefaultVolume);
  config.BackVolume = ReadNumber(ctx, kBackVolume, config.BackVolume);
  // Each pair of choices is always sent by the page; one not sent keeps its setting.
  if (ctx.Sent("ICONICSTART")) config.IconicStart = ctx.Param("ICONICSTART") == "1";
  if (ctx.Sent("LIPSVIEW")) config.LipsView = ctx.Param("LIPSVIEW") == "1";
  config.LateLimit = ReadNumber(ctx, kLateLimit, config.LateLimit);
  ReadQuietFields(ctx, config);
  // The page sends AUTOSTART 1 or 0; a page without the box leaves the login entry alone.
  const std::string login = ctx.Param("AUTOSTART");
  ctx.app.ApplyBaseSettings(config, login.empty() ? std::nullopt : std::optional(login == "1"));
  ApplyAccessPasswordFields(ctx);
  ctx.AddNotice(std::string(form_texts::kBaseSaved));
  return true;
}

}  // namespace chimewell
