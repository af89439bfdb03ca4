#pragma once
// The configuration page: the list of placeholder values and the template renderer.
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

class FileSystem;

// Lines of "key" TAB "value", in the order they are applied. Built anew for every request.
class ReplacementList {
 public:
  void Add(std::string_view key, std::string_view value);
  // A line as it stands; the key is what precedes its first TAB (all of it without a TAB).
  void AddLine(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// Template text with every line ended by CR LF, the last one included; a line ends at CR LF,
// LF or CR.
std::string NormaliseLineEnds(std::string_view text);

// Applies the list to an already loaded page text: for each line in order, the first occurrence
// of its key in the text produced so far is replaced by its value. Empty keys are skipped.
std::string ApplyReplacements(std::string page, const ReplacementList& list);

// Reads the template afresh (never cached, so the user's edits show at the next request),
// normalises its line ends and applies the list. A template that cannot be read gives the fixed
// error page.
std::string RenderPage(const FileSystem& files, const std::string& template_path,
                       const ReplacementList& list);

}  // namespace chimewell
