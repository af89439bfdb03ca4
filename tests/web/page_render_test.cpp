#include "web/page_render.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "platform/file_system.h"

namespace chimewell {
namespace {

class MapFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
  std::optional<std::string> ReadFile(const std::string& path, FileKind) const override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
};

constexpr const char* kMissingPage =
    "<HTML><HEAD><TITLE>Chimewell - エラー</TITLE></HEAD><BODY>設定ファイル（Chimewell.html）が"
    "見つかりません</BODY></HTML>";

TEST(NormaliseLineEnds, EveryLineEndsWithCrLfWhateverItHadBefore) {
  EXPECT_EQ(NormaliseLineEnds("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(NormaliseLineEnds("a\rb\r\nc"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(NormaliseLineEnds("a\n\n\rb"), "a\r\n\r\n\r\nb\r\n");
  EXPECT_EQ(NormaliseLineEnds("a\r\n"), "a\r\n");
  EXPECT_EQ(NormaliseLineEnds(""), "");
  EXPECT_EQ(NormaliseLineEnds("\n"), "\r\n");
}

TEST(ApplyReplacements, ReplacesOnlyTheFirstOccurrenceOfEachKey) {
  ReplacementList list;
  list.Add("$!SECX!$", "300");
  EXPECT_EQ(ApplyReplacements("<a $!SECX!$> <b $!SECX!$>", list), "<a 300> <b $!SECX!$>");
}

TEST(ApplyReplacements, WorksOnTheTextProducedSoFar) {
  ReplacementList list;
  list.Add("$!A!$", "[$!B!$]");
  list.Add("$!B!$", "b");
  // The value of A brings a B that comes before the template's own B, so it takes the value.
  EXPECT_EQ(ApplyReplacements("$!A!$ $!B!$", list), "[b] $!B!$");
  // A key replaced before the value that carries it was inserted stays verbatim in the value.
  ReplacementList reversed;
  reversed.Add("$!B!$", "b");
  reversed.Add("$!A!$", "[$!B!$]");
  EXPECT_EQ(ApplyReplacements("$!A!$ $!B!$", reversed), "[$!B!$] b");
}

TEST(ApplyReplacements, FindsKeysThatSpanInsertedValuesAndTheTemplate) {
  ReplacementList list;
  list.Add("$!A!$", "x$!SE");   // ends with the start of a key
  list.Add("$!B!$", "");        // disappears, joining what stood around it
  list.Add("$!SECX!$", "300");  // now found across value, template and value boundaries
  EXPECT_EQ(ApplyReplacements("$!A!$$!B!$CX!$ $!SECX!$", list), "x300 $!SECX!$");
}

// The page as the plain definition gives it: replace in the whole text, one key after another.
std::string ReplaceOneByOne(std::string page,
                            const std::vector<std::pair<std::string, std::string>>& lines) {
  for (const auto& [key, value] : lines) {
    const size_t at = page.find(key);
    if (at != std::string::npos) page.replace(at, key.size(), value);
  }
  return page;
}

TEST(ApplyReplacements, AgreesWithReplacingInTheWholeTextOnRandomInput) {
  std::mt19937 random(7);
  const std::string alphabet = "$!AB";
  auto text = [&](size_t max) {
    std::string s(random() % (max + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string page = text(40);
    std::vector<std::pair<std::string, std::string>> lines;
    ReplacementList list;
    for (int i = 0, n = random() % 8; i < n; ++i) {
      std::string key = text(4);
      if (key.empty()) key = "$";
      lines.emplace_back(key, text(6));
      list.Add(lines.back().first, lines.back().second);
    }
    ASSERT_EQ(ApplyReplacements(page, list), ReplaceOneByOne(page, lines)) << "round " << round;
  }
}

TEST(ApplyReplacements, LinesWithoutTabOrKeyAndUnknownKeys) {
  ReplacementList list;
  list.AddLine("$!GONE!$");     // no TAB: the key with an empty value
  list.AddLine("\tnothing");    // empty key: skipped
  list.AddLine("$!T!$\ta\tb");  // the value runs from the first TAB to the end
  list.Add("$!ABSENT!$", "x");  // no occurrence, no change
  list.Add("$!V!$", "line1\r\nline2");
  EXPECT_EQ(ApplyReplacements("[$!GONE!$][$!T!$][$!OPENBASEFORM!$][$!V!$]", list),
            "[][a\tb][$!OPENBASEFORM!$][line1\r\nline2]");
  EXPECT_EQ(ApplyReplacements("$!t!$", list), "$!t!$");  // keys are case-sensitive
}

TEST(RenderPage, ReadsTheTemplateAfreshEveryTimeAndServesItWithCrLf) {
  MapFileSystem files;
  files.files["/p.html"] = "<p>$!SPEAKOFFSET!$</p>\n<i>end</i>";
  ReplacementList list;
  list.Add("$!SPEAKOFFSET!$", "500");
  EXPECT_EQ(RenderPage(files, "/p.html", list), "<p>500</p>\r\n<i>end</i>\r\n");
  files.files["/p.html"] = "edited $!SPEAKOFFSET!$\n";
  EXPECT_EQ(RenderPage(files, "/p.html", list), "edited 500\r\n");
}

TEST(RenderPage, ShiftJisTemplateIsServedAsUtf8) {
  MapFileSystem files;
  files.files["/sjis.html"] = "<p>\x90\xdd\x92\xe8 $!X!$</p>\r\n";  // 設定 in Shift-JIS
  files.files["/bom.html"] = "\xEF\xBB\xBF<p>設定 $!X!$</p>";
  ReplacementList list;
  list.Add("$!X!$", "v");
  EXPECT_EQ(RenderPage(files, "/sjis.html", list), "<p>設定 v</p>\r\n");
  EXPECT_EQ(RenderPage(files, "/bom.html", list), "<p>設定 v</p>\r\n");
}

TEST(RenderPage, MissingTemplateGivesTheFixedErrorPageWhateverTheList) {
  MapFileSystem files;
  ReplacementList list;
  list.Add("$!OPENBASEFORM!$", " style=\"display:block\"");
  list.Add("$!ERRORMSG!$", "problem");
  EXPECT_EQ(RenderPage(files, "/nowhere/chimewell.html", list), kMissingPage);
}

}  // namespace
}  // namespace chimewell
