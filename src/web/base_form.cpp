#include "web/base_form.h"

#include <algorithm>

#include "app/application.h"
#include "web/access_password_form.h"

namespace chimewell {

bool HandleBaseForm(RequestContext& ctx) {
  if (!ctx.Has("BASESET")) return false;
  ctx.open_section = PageSection::kBase;
  ctx.error_text = CheckAccessPasswordFields(ctx);
  if (!ctx.error_text.empty()) return true;
  ConfigSettings config = ctx.app.Config();
  config.SpeakOffset = std::clamp(ctx.IntParam("SPEAKOFFSET", 0), 0, 10000);
  const int double_click = ctx.IntParam("TTRAY", -1);
  config.DoubleClick = double_click >= 0 && double_click <= 2 ? double_click : 0;
  config.DefaultVolume = std::clamp(ctx.IntParam("MIDIVOLUME", 80), 10, 100);
  config.BackVolume = std::clamp(ctx.IntParam("MIDIBACK", 30), 0, 100);
  config.IconicStart = ctx.Param("ICONICSTART") == "1";
  config.LipsView = ctx.Param("LIPSVIEW") == "1";
  config.LateLimit = std::clamp(ctx.IntParam("LATELIMIT", 60), 0, kMaxLateLimit);
  // The page sends AUTOSTART 1 or 0; a page without the box leaves the login entry alone.
  const std::string login = ctx.Param("AUTOSTART");
  ctx.app.ApplyBaseSettings(config, login.empty() ? std::nullopt : std::optional(login == "1"));
  ApplyAccessPasswordFields(ctx);
  return true;
}

}  // namespace chimewell
