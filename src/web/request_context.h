#pragma once
// One request to the configuration page as the form handlers see it: the request, the
// application it changes, and what the handlers collect for the page.
//
// A form handler has the shape `bool HandleXxxForm(RequestContext&)`: it returns false at once
// when its marker field is absent, otherwise it applies the form and returns true. The request
// handler calls them in dispatch order and stops at the first that returns true.
#include <optional>
#include <string>
#include <string_view>

#include "core/html_escape.h"
#include "core/line_list.h"
#include "web/add_tokens.h"
#include "web/form_fields.h"
#include "web/http_request_info.h"
#include "web/page_cache.h"
#include "web/page_render.h"
#include "web/page_values.h"
#include "web/param_decoding.h"

namespace chimewell {

class Application;
class Clock;
class FileSystem;
class FontCatalog;

struct RequestContext {
  RequestContext(Application& app, const HttpRequestInfo& request, PageCache& page,
                 const FontCatalog& fonts, const FileSystem& files, const Clock& clock,
                 AddTokens& add_tokens)
      : app(app),
        request(request),
        page(page),
        fonts(fonts),
        files(files),
        clock(clock),
        add_tokens(add_tokens) {}

  // What the handlers work on; all of it outlives the request. Handlers run on the UI thread.
  Application& app;
  const HttpRequestInfo& request;
  PageCache& page;  // the clock-face form rebuilds a font list here when that font changed
  const FontCatalog& fonts;
  const FileSystem& files;
  const Clock& clock;
  AddTokens& add_tokens;  // the add form's tokens that have added their line

  // Problems found, as an HTML fragment whose lines end in "<BR>" CR LF; a user's text in it
  // must be escaped. Non-empty means the page gets the red block, and the text is logged,
  // shown in the panel and spoken up to its first line end.
  std::string error_text;
  // Which heading the problems get: most forms refuse to save what has problems.
  ProblemHeading error_heading = ProblemHeading::kNotSaved;
  // What the request did, to confirm it (same form of HTML as error_text); shown in the
  // page's message area without a problem heading, and not spoken.
  std::string notice_text;
  // A refused schedule script: the page shows it for correction instead of the running one.
  std::optional<LineList> schedule_draft;
  // A refused holiday text, shown for correction in the same way.
  std::optional<LineList> holiday_draft;
  // The page section whose form was submitted; opened on the page. At most one.
  std::optional<PageSection> open_section;
  // Placeholder lines a handler wants applied before the page's standard values (the first
  // line for a placeholder wins).
  ReplacementList extras;
  // The new access password's hash when it was made before the request reached the UI thread.
  std::string prepared_password_hash;

  // Adds one line to the page's notices.
  void AddNotice(const std::string& text) {
    if (!notice_text.empty()) notice_text += "<BR>\r\n";
    notice_text += HtmlEscape(text);
  }
  // The parameter's value; empty when absent or sent empty (the two mean the same).
  std::string Param(std::string_view name) const { return GetParam(request.ParamList, name); }
  // Whether the field was sent at all, empty or not.
  bool Sent(std::string_view name) const {
    return FindParam(request.ParamList, name).has_value();
  }
  // Whether the parameter was sent with a non-empty value: how a form's marker is recognised.
  bool Has(std::string_view name) const { return !Param(name).empty(); }
  // The parameter as a whole decimal number, or `fallback` when it is absent or not one.
  int IntParam(std::string_view name, int fallback) const {
    return FormInteger(Param(name), fallback);
  }
};

}  // namespace chimewell
