#include "web/control_commands.h"

#include "app/application.h"
#include "web/handler_texts.h"

namespace chimewell {

bool HandleControlCommand(RequestContext& ctx) {
  Application& app = ctx.app;
  MenuState& menu = app.Menu();
  if (ctx.Has("COUNTSET")) {
    // The tick takes the new interval from its next run, which follows the request.
    menu.CheckCount(CountItemFor(ctx.IntParam("COUNT", -1)));
  } else if (ctx.Has("PAUSE")) {
    // The value is ignored: the page's link always toggles.
    menu.SetPaused(!menu.Paused());
    app.PM_MenuClick(MenuItem::PM_Pause);
  } else if (ctx.Has("MUTE")) {
    menu.SetMuted(ctx.Param("MUTE") == "1");
    app.PM_MenuClick(MenuItem::PM_Mute);
  } else if (ctx.Has("SKIP")) {
    app.PM_MenuClick(MenuItem::PM_Skip);
  } else {
    return false;
  }
  app.MenuChanged();
  return true;
}

bool HandleExitCommand(RequestContext& ctx) {
  if (!ctx.Has("EXIT")) return false;
  ctx.app.RequestExit();
  ctx.notice_text = handler_texts::kExited;
  return true;
}

}  // namespace chimewell
