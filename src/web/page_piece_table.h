#pragma once
// A text made of pieces of other texts, for replacing placeholders without copying the page
// once per placeholder.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace chimewell {

// The texts handed in must outlive the table; nothing is copied until Join.
class PieceTable {
 public:
  explicit PieceTable(std::string_view text);

  // Replaces the first occurrence of `key` in the current text, which may span pieces, by
  // `value`. Returns whether there was one.
  bool ReplaceFirst(std::string_view key, std::string_view value);

  std::string Join() const;

 private:
  struct Source {
    std::string_view text;
    // Positions of a byte in `text`, built the first time a key starting with it is looked for.
    std::vector<std::pair<unsigned char, std::vector<uint32_t>>> positions;
  };
  struct Piece {
    uint32_t source;
    size_t begin;
    size_t end;
  };
  struct Position {
    size_t piece;
    size_t offset;  // within the piece's source
  };

  const std::vector<uint32_t>& PositionsOf(Source& source, unsigned char byte);
  bool MatchesAt(Position at, std::string_view key) const;
  // The position just past `length` bytes from `at`.
  Position Advance(Position at, size_t length) const;

  std::vector<Source> sources_;
  std::vector<Piece> pieces_;
};

}  // namespace chimewell
