#pragma once
// Composing one announcement, step one: a format and a moment give the names of the fragments
// to play and the report lines, in format order. Pure: no file is touched.
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"

namespace chimewell {

// One item of a composed announcement: a fragment to play, or a line for the report. Keeping
// both in one ordered list lets the second step put its own lines (missing files) where the
// format asked for them.
struct ComposedItem {
  enum class Kind { kVoiceFile, kAddOn, kAddOff, kReport };
  Kind kind = Kind::kReport;
  std::string text;  // the voice file's name as its list spells it, or the report line
  int number = 0;    // 1..16 for kAddOn and kAddOff

  friend bool operator==(const ComposedItem&, const ComposedItem&) = default;
};

struct ComposeRequest {
  int type = 1;     // voice type 1..5; any other gives only the unsupported-type line
  int variant = 0;  // voice type 3's variant
  std::string_view format;
  TDateTime moment = 0;
};

// The names to play for `request`, by the rules of its voice type, with every report line of
// the format (unknown tokens, left-over text, an unsupported type). Does not add the line for
// an announcement without fragments; that is decided once the files are resolved.
std::vector<ComposedItem> ComposeFragments(const ComposeRequest& request);

// The format that "default" and "[default]" stand for in `type` (and its `variant`).
std::string_view DefaultFormat(int type, int variant);

}  // namespace chimewell
