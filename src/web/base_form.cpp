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
// says what was stored instead. An absent field takes its fallback without a word.
int ReadNumber(RequestContext& ctx, const NumberField& field) {
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
  config.SpeakOffset = ReadNumber(ctx, kSpeakOffset);
  // Anything but the three actions means the first, not the nearest.
  const int double_click = ctx.IntParam("TTRAY", -1);
  config.DoubleClick = double_click >= 0 && double_click <= 2 ? double_click : 0;
  if (ctx.Has("TTRAY") && config.DoubleClick != double_click) {
    ctx.AddNotice(form_texts::ValueOutOfRange(form_texts::kDoubleClickLabel, 0, 2, 0));
  }
  config.DefaultVolume = ReadNumber(ctx, kDefaultVolume);
  config.BackVolume = ReadNumber(ctx, kBackVolume);
  config.IconicStart = ctx.Param("ICONICSTART") == "1";
  config.LipsView = ctx.Param("LIPSVIEW") == "1";
  config.LateLimit = ReadNumber(ctx, kLateLimit);
  ReadQuietFields(ctx, config);
  // The page sends AUTOSTART 1 or 0; a page without the box leaves the login entry alone.
  const std::string login = ctx.Param("AUTOSTART");
  ctx.app.ApplyBaseSettings(config, login.empty() ? std::nullopt : std::optional(login == "1"));
  ApplyAccessPasswordFields(ctx);
  return true;
}

}  // namespace chimewell
