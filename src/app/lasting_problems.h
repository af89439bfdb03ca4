#pragma once
// What keeps the clock from sounding until it is mended (no voice, no sound output), so that the
// page can say so at its top for as long as it lasts. Owned by the application (UI thread).
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace chimewell {

enum class LastingProblemKind { kSpeech, kSoundOutput };

class LastingProblems {
 public:
  // Records `text` for its kind; true when it is news (to be told), false when already known.
  bool Set(LastingProblemKind kind, const std::string& text) {
    auto [at, added] = problems_.try_emplace(kind, text);
    if (!added && at->second == text) return false;
    at->second = text;
    return true;
  }
  // True when the kind had a problem, now mended.
  bool Clear(LastingProblemKind kind) { return problems_.erase(kind) > 0; }
  std::optional<std::string> Of(LastingProblemKind kind) const {
    const auto at = problems_.find(kind);
    if (at == problems_.end()) return std::nullopt;
    return at->second;
  }
  bool Has(const std::string& text) const {
    for (const auto& [kind, known] : problems_) {
      if (known == text) return true;
    }
    return false;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& [kind, text] : problems_) texts.push_back(text);
    return texts;
  }

 private:
  std::map<LastingProblemKind, std::string> problems_;
};

}  // namespace chimewell
