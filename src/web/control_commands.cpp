#include "web/control_commands.h"

#include "app/application.h"
#include "web/handler_texts.h"

namespace chimewell {

bool HandleControlCommand(RequestContext& ctx) {
  Application& app = ctx.app;
  if (ctx.Has("COUNTSET")) {
    app.ChooseCount(ctx.IntParam("COUNT", -1));
  } else if (ctx.Has("PAUSE")) {
    // The value is ignored: the page's link always toggles.
    app.TogglePause();
  } else if (ctx.Has("MUTE")) {
    app.SetMuted(ctx.Param("MUTE") == "1");
  } else if (ctx.Has("SKIP")) {
    app.SkipPlaying();
  } else {
    return false;
  }
  return true;
}

bool HandleExitCommand(RequestContext& ctx) {
  if (!ctx.Has("EXIT")) return false;
  ctx.app.RequestExit();
  ctx.notice_text = handler_texts::kExited;
  return true;
}

}  // namespace chimewell
