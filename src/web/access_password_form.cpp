#include "web/access_password_form.h"

#include "app/application.h"
#include "core/ascii_text.h"
#include "web/access_texts.h"
#include "web/other_site.h"
#include "web/password_hash.h"

namespace chimewell {
namespace {

constexpr size_t kMinPasswordChars = 8;

size_t Utf8Chars(std::string_view text) {
  size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

bool IsAcceptablePassword(std::string_view password) {
  return Utf8Chars(password) >= kMinPasswordChars && password.size() <= kMaxAccessPasswordBytes;
}

}  // namespace

std::string CheckAccessPasswordFields(const RequestContext& ctx) {
  const std::string password = ctx.Param("ACCESSPASSWORD");
  if (password.empty() && !ctx.Has("ACCESSCLEAR")) return {};
  if (!ctx.request.LocalPeer) return access_texts::kPasswordOnlyHere;
  if (!password.empty() && !IsAcceptablePassword(password)) return access_texts::kPasswordTooShort;
  return {};
}

void ApplyAccessPasswordFields(RequestContext& ctx) {
  const std::string password = ctx.Param("ACCESSPASSWORD");
  if (!password.empty()) {
    const std::string hash = ctx.prepared_password_hash.empty() ? HashAccessPassword(password)
                                                                : ctx.prepared_password_hash;
    if (hash.empty()) {
      ctx.error_text = access_texts::kPasswordNotSaved;
    } else {
      ctx.app.SetAccessPasswordHash(hash);
    }
  } else if (ctx.Param("ACCESSCLEAR") == "1") {
    ctx.app.SetAccessPasswordHash("");
  }
}

std::string PrepareAccessPasswordHash(const HttpRequestInfo& request) {
  const std::string password = GetParam(request.ParamList, "ACCESSPASSWORD");
  // Only for a form that will be applied: pages of other sites must not keep us hashing.
  if (!request.LocalPeer || GetParam(request.ParamList, "BASESET").empty() ||
      !IsAcceptablePassword(password) || !IsFromOurPage(request)) {
    return {};
  }
  return HashAccessPassword(password);
}

bool IsAccessPasswordLine(std::string_view param_line) {
  return EqualsIgnoreAsciiCase(param_line.substr(0, param_line.find('=')), "ACCESSPASSWORD");
}

}  // namespace chimewell
