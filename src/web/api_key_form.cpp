#include "web/api_key_form.h"

#include <cstdio>

#include "app/application.h"
#include "core/html_escape.h"
#include "web/api_texts.h"
#include "web/api_tokens.h"
#include "web/text_util.h"

namespace chimewell {
namespace {

// A text with one "%s" filled in with `name`.
std::string Named(const char* format, const std::string& name) {
  std::string text = format;
  const size_t at = text.find("%s");
  return text.replace(at, 2, name);
}

void AddKey(RequestContext& ctx) {
  const std::string name(TrimBlanksAndControls(ctx.Param("APIKEYNAME")));
  const NewApiToken token = MakeApiToken();
  switch (ctx.app.AddApiToken(name, token.hash)) {
    case ApiTokenChange::kAdded:
      ctx.AddNotice(Named(api_texts::kKeyMade, name) + token.secret);
      return;
    case ApiTokenChange::kBadName:
      ctx.error_text = api_texts::kKeyBadName;
      return;
    case ApiTokenChange::kNameTaken:
      ctx.error_text = api_texts::kKeyNameTaken;
      return;
    case ApiTokenChange::kFull:
      ctx.error_text = api_texts::kKeysFull;
      return;
  }
}

}  // namespace

bool HandleApiKeyForm(RequestContext& ctx) {
  const bool add = ctx.Has("APIKEYADD");
  const bool remove = ctx.Has("APIKEYDEL");
  if (!add && !remove) return false;
  ctx.extras.Add("$!OPENLINKFORM!$", " style=\"display:block\"");
  ctx.error_heading = ProblemHeading::kNotSaved;
  if (!ctx.request.LocalPeer) {
    ctx.error_text = api_texts::kKeyOnlyHere;
    return true;
  }
  if (add) {
    AddKey(ctx);
    return true;
  }
  const std::string name = ctx.Param("APIKEYDEL");
  if (ctx.app.RemoveApiToken(name)) {
    ctx.AddNotice(Named(api_texts::kKeyRemoved, name));
  } else {
    ctx.error_text = HtmlEscape(api_texts::kKeyNotFound);
  }
  return true;
}

void AppendApiKeyValues(ReplacementList& list, const std::vector<ApiTokenRecord>& tokens) {
  std::string html;
  for (const ApiTokenRecord& token : tokens) {
    const std::string name = HtmlEscape(token.name);
    html += "<div>" + name + " <button type=\"submit\" name=\"APIKEYDEL\" value=\"" + name + "\">" +
            api_texts::kRemoveKey + "</button></div>";
  }
  list.Add("$!APIKEYS!$", html.empty() ? HtmlEscape(api_texts::kNoKeys) : html);
  list.Add("$!OPENLINKFORM!$", "");
}

}  // namespace chimewell
