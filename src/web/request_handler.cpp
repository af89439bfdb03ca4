#include "web/request_handler.h"

#include <utility>

#include "app/application.h"
#include "core/ascii_text.h"
#include "core/clock.h"
#include "core/fault.h"
#include "core/log.h"
#include "core/settings_store.h"
#include "platform/file_system.h"
#include "platform/speech_control.h"
#include "web/access_password_form.h"
#include "web/api_key_form.h"
#include "web/base_form.h"
#include "web/clock_form.h"
#include "web/control_commands.h"
#include "web/error_text.h"
#include "web/handler_texts.h"
#include "web/holiday_form.h"
#include "web/jiho_form.h"
#include "web/mqtt_form.h"
#include "web/other_site.h"
#include "web/schedule_form.h"
#include "web/test_commands.h"
#include "web/text_util.h"
#include "web/timetable_form.h"
#include "web/timetable_values.h"

namespace chimewell {
namespace {

// How much of each parameter the debug log keeps.
constexpr size_t kLoggedParamChars = 200;

// The schedule's add form sent without anything to add: the form is reopened with the
// problem, before the schedule forms could take it for an empty entry.
bool HandleEmptyScheduleAdd(RequestContext& ctx) {
  if (!ctx.Has("SCHEADD") || !TrimBlanksAndControls(ctx.Param("SCHEARG")).empty()) return false;
  ctx.error_text = handler_texts::kScheduleArgMissing;
  ctx.open_section = PageSection::kSchedule;
  return true;
}

// The control and test commands, and exit: the page answers with its test section open.
bool HandleCommand(RequestContext& ctx) {
  const bool handled =
      HandleControlCommand(ctx) || HandleTestCommand(ctx) || HandleExitCommand(ctx);
  if (handled) ctx.open_section = PageSection::kTest;
  return handled;
}

}  // namespace

RequestHandler::RequestHandler(Application& app, PageServices services)
    : app_(app), services_(services) {}

void RequestHandler::BuildPageCache() {
  const ClockSettings& clock = app_.ClockFace();
  page_ = chimewell::BuildPageCache(services_.fonts, clock.DateName, clock.DigitName);
}

void RequestHandler::IdHTTPServer1CommandGet(const HttpRequestInfo& request,
                                             HttpResponseInfo& response) {
  std::string prepared_password_hash = std::exchange(prepared_password_hash_, {});
  if (request.Document == kGuideDocument) {
    // The guide is served by us: a browser will not follow a file:// link from this page.
    const auto guide = services_.files.ReadFile(app_.Paths().user_guide, FileKind::kPage);
    response.BodyText = guide ? *guide : handler_texts::kOtherPagePage;
    return;
  }
  if (request.Document != "/") {
    response.BodyText = handler_texts::kOtherPagePage;
    return;
  }
  if (app_.DebugMode()) LogRequest(request);
  const Application::PanelBatch panel_batch(app_);

  RequestContext ctx{app_,       request, page_, services_.fonts, services_.files, services_.clock,
                     add_tokens_};
  ctx.prepared_password_hash = std::move(prepared_password_hash);
  try {
    // Once exit was asked for, the program is ending: nothing more is applied. A request
    // that cannot show it comes from our page may look, but not change anything; it is told
    // so on the page only, since another site must not make the clock speak.
    if (!app_.ExitRequested() && IsFromOurPage(request)) {
      Dispatch(ctx);
      ReportErrors(ctx);
    } else if (!app_.ExitRequested() && !request.ParamList.empty()) {
      ctx.error_text = handler_texts::kChangeNotFromOurPage;
    }
    response.BodyText = RenderConfigPage(ctx);
  } catch (...) {
    // The page answers with an error status; the user also sees the fault in the window.
    app_.ReportFault(DescribeFault("request", std::current_exception()));
    RearmTick();
    throw;
  }
  RearmTick();
}

void RequestHandler::LogRequest(const HttpRequestInfo& request) {
  app_.AddRawLogLine("command " + request.Command);
  // A parameter can be a whole schedule script; the log keeps a glimpse of it.
  for (const std::string_view line : request.ParamList) {
    app_.AddRawLogLine("param:" + (IsAccessPasswordLine(line)
                                       ? std::string("ACCESSPASSWORD=***")
                                       : ShortenForLog(line, kLoggedParamChars)));
  }
}

void RequestHandler::Dispatch(RequestContext& ctx) {
  // The first form whose marker is present is applied; the others are not looked at.
  HandleEmptyScheduleAdd(ctx) || HandleScheduleForm(ctx) || HandleHolidayForm(ctx) ||
      HandleTimetableForm(ctx) || HandleBaseForm(ctx) || HandleJihoForm(ctx) ||
      HandleClockForm(ctx) || HandleApiKeyForm(ctx) || HandleMqttForm(ctx) || HandleCommand(ctx);
}

void RequestHandler::ReportErrors(const RequestContext& ctx) {
  if (ctx.error_text.empty()) return;
  app_.AddLogLine(ctx.error_text);
  const std::string panel_text = PanelErrorText(ctx.error_text);
  app_.ShowPanelMessage(panel_text);
  services_.speech.SpeakText(SpokenErrorText(panel_text));
}

std::string RequestHandler::RenderConfigPage(const RequestContext& ctx) {
  Application& app = app_;
  const HttpRequestInfo& request = ctx.request;
  ReplacementList list;
  if (ctx.open_section) AddSectionOpen(list, *ctx.open_section);
  for (const std::string& line : ctx.extras.Lines()) list.AddLine(line);

  // The recent folders are read from the file at every request, and the other [Jiho] values
  // with them: the file is what the time-signal form last saved.
  const JihoSettings jiho = ReadJihoSettings(app.Paths().settings);
  const std::string document_url = kGuideDocument;
  // Each page's add form carries a token of its own; see HandleScheduleForm.
  const std::string add_token = add_tokens_.Issue();
  std::vector<std::string> unwatched;
  for (const BusyUnavailable reason : app.BusyUnwatched()) {
    unwatched.emplace_back(BusyUnwatchedText(reason));
  }
  const PageSettingsValues settings{app.Config(),
                                    jiho,
                                    app.ClockFace(),
                                    ctx.schedule_draft ? *ctx.schedule_draft : app.ScheduleLines(),
                                    app.VersionText(),
                                    document_url,
                                    page_.date_font_options,
                                    page_.digit_font_options,
                                    page_.colour_grids,
                                    app.FaceState().DebugGrid,
                                    app.Menu().CountInterval(),
                                    app.Menu().Paused(),
                                    app.Menu().Muted(),
                                    app.StartsAtLogin(),
                                    !ReadAccessPasswordHash(app.Paths().settings).empty(),
                                    add_token,
                                    ctx.holiday_draft ? &*ctx.holiday_draft : &app.HolidayLines(),
                                    unwatched};

  // The test fields show what was sent, so the user can try again with a small change.
  const auto sent = [&](std::string_view marker,
                        std::string_view field) -> std::optional<std::string> {
    if (!ctx.Has(marker)) return std::nullopt;
    return ctx.Param(field);
  };
  const std::optional<std::string> jiho_str = sent("JIHOTEST", "JIHOSTR");
  const std::optional<std::string> msg_str = sent("MSGTEST", "MSGSTR");
  const std::optional<std::string> wave_file = sent("WAVEFILE", "WAVEFILE");
  const std::optional<std::string> midi_file = sent("MIDIFILE", "MIDIFILE");
  const auto view = [](const std::optional<std::string>& text) {
    return text ? std::optional<std::string_view>(*text) : std::nullopt;
  };
  const TestFieldValues tests{app.TimeSignalFormat(), services_.clock.Now(), view(jiho_str),
                              view(msg_str),          view(wave_file),       view(midi_file)};

  const std::vector<std::string> log_lines =
      app.DebugMode() ? app.Logs().Lines() : std::vector<std::string>{};
  const DebugInfo debug{request.Command, request.Document, request.Header, request.UnparsedParams,
                        log_lines};
  AppendTimetableValues(
      list, ViewTimetables(app, services_.clock.Now(), {ctx.timetable_draft, ctx.calendar_draft}));
  AppendApiKeyValues(list, app.ApiTokens());
  AppendMqttValues(list, app.Mqtt());
  const std::vector<std::string> lasting = app.CurrentProblems();
  AppendPageValues(list, {ctx.error_text, ctx.error_heading, ctx.notice_text, lasting}, settings,
                   tests,
                   app.DebugMode() ? &debug : nullptr);
  return RenderPage(services_.files, app.Paths().page_template, list);
}

void RequestHandler::RearmTick() {
  Application& app = app_;
  if (!app.Running()) return;
  // The tick that closes the program runs a moment later, paused or not, so the page that
  // answers the exit is sent before the server stops.
  if (app.ExitRequested()) {
    app.ArmTick(kExitTickDelayMs);
    return;
  }
  // A pause leaves the tick stopped, whether it came from the menu or from the page.
  if (app.Menu().Paused()) return;
  // A direct run fires nothing but re-arms for the next due moment, so a request never
  // postpones an announcement.
  app.Timer1Timer(false);
}

}  // namespace chimewell
