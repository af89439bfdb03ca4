#include "web/page_option_lists.h"

#include "core/html_escape.h"
#include "web/page_texts.h"

namespace chimewell {
namespace {

void AppendOption(std::string& out, std::string_view value, bool selected,
                  std::string_view label_suffix) {
  out += "<OPTION value=\"";
  AppendHtmlEscaped(out, value);
  out += '"';
  if (selected) out += " SELECTED";
  out += '>';
  AppendHtmlEscaped(out, value);
  out += label_suffix;
  out += "</OPTION>\r\n";
}

}  // namespace

std::string BuildFontOptions(const std::vector<FontFamily>& families, std::string_view current) {
  std::string out;
  out.reserve(families.size() * 64);
  // No font named: the clock draws with the standard one, and the list says so rather than
  // seeming to choose its first font.
  if (current.empty()) out += page_texts::kStandardFontOption;
  for (const FontFamily& family : families) {
    AppendOption(out, family.name, family.name == current,
                 "(type:" + std::to_string(family.type) + ")");
  }
  return out;
}

std::string BuildRecentFolderOptions(
    const std::array<std::string, kRecentFolderCount>& last_folders,
    std::string_view current_folder) {
  std::string out;
  for (const std::string& folder : last_folders) {
    if (!folder.empty()) AppendOption(out, folder, folder == current_folder, "");
  }
  return out;
}

std::string BuildAddOnTable(AddOnKind kind, const std::array<std::string, kAddOnCount>& texts) {
  const std::string_view label = kind == AddOnKind::kAddOn ? "AddOn" : "AddOff";
  const std::string_view field = kind == AddOnKind::kAddOn ? "JIHOADDON" : "JIHOADDOFF";
  std::string out = "<TABLE><TR>";
  for (int n = 1; n <= kAddOnCount; ++n) {
    if (n % 2 == 1) out += "</TR><TR>\r\n";
    const std::string number = std::to_string(n);
    out.append("<TD>").append(label).append(number);
    out.append("</TD><TD><INPUT type=TEXT name=").append(field).append(number);
    out += " size=45 value=\"";
    AppendHtmlEscaped(out, texts[n - 1]);
    out += "\"></TD>\r\n";
  }
  out += "</TR></TABLE>";
  return out;
}

}  // namespace chimewell
