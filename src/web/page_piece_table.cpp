#include "web/page_piece_table.h"

#include <algorithm>
#include <cstring>

namespace chimewell {

PieceTable::PieceTable(std::string_view text) {
  sources_.push_back({text, {}});
  if (!text.empty()) pieces_.push_back({0, 0, text.size()});
}

const std::vector<uint32_t>& PieceTable::PositionsOf(Source& source, unsigned char byte) {
  for (const auto& [b, list] : source.positions) {
    if (b == byte) return list;
  }
  std::vector<uint32_t> list;
  const char* data = source.text.data();
  const size_t size = source.text.size();
  for (const void* hit = std::memchr(data, byte, size); hit != nullptr;) {
    const size_t at = static_cast<const char*>(hit) - data;
    list.push_back(static_cast<uint32_t>(at));
    hit = at + 1 < size ? std::memchr(data + at + 1, byte, size - at - 1) : nullptr;
  }
  source.positions.emplace_back(byte, std::move(list));
  return source.positions.back().second;
}

bool PieceTable::MatchesAt(Position at, std::string_view key) const {
  const Piece& here = pieces_[at.piece];
  if (here.end - at.offset >= key.size()) {  // the common case: the key lies in one piece
    return std::memcmp(sources_[here.source].text.data() + at.offset, key.data(), key.size()) == 0;
  }
  size_t matched = 0;
  for (size_t p = at.piece; p < pieces_.size() && matched < key.size(); ++p) {
    const Piece& piece = pieces_[p];
    const size_t from = p == at.piece ? at.offset : piece.begin;
    const size_t length = std::min(piece.end - from, key.size() - matched);
    if (sources_[piece.source].text.substr(from, length) != key.substr(matched, length)) {
      return false;
    }
    matched += length;
  }
  return matched == key.size();
}

PieceTable::Position PieceTable::Advance(Position at, size_t length) const {
  while (length > pieces_[at.piece].end - at.offset) {
    length -= pieces_[at.piece].end - at.offset;
    ++at.piece;
    at.offset = pieces_[at.piece].begin;
  }
  at.offset += length;
  return at;
}

bool PieceTable::ReplaceFirst(std::string_view key, std::string_view value) {
  if (key.empty()) return false;
  const auto first = static_cast<unsigned char>(key[0]);
  for (size_t p = 0; p < pieces_.size(); ++p) {
    const Piece piece = pieces_[p];
    const std::vector<uint32_t>& hits = PositionsOf(sources_[piece.source], first);
    for (auto it = std::lower_bound(hits.begin(), hits.end(), piece.begin);
         it != hits.end() && *it < piece.end; ++it) {
      const Position start{p, *it};
      if (!MatchesAt(start, key)) continue;
      const Position end = Advance(start, key.size());
      std::vector<Piece> replacement;
      if (start.offset > piece.begin)
        replacement.push_back({piece.source, piece.begin, start.offset});
      if (!value.empty()) {
        sources_.push_back({value, {}});
        replacement.push_back({static_cast<uint32_t>(sources_.size() - 1), 0, value.size()});
      }
      const Piece& last = pieces_[end.piece];
      if (end.offset < last.end) replacement.push_back({last.source, end.offset, last.end});
      pieces_.erase(pieces_.begin() + p, pieces_.begin() + end.piece + 1);
      pieces_.insert(pieces_.begin() + p, replacement.begin(), replacement.end());
      return true;
    }
  }
  return false;
}

std::string PieceTable::Join() const {
  size_t size = 0;
  for (const Piece& piece : pieces_) size += piece.end - piece.begin;
  std::string out;
  out.reserve(size);
  for (const Piece& piece : pieces_) {
    out.append(sources_[piece.source].text.substr(piece.begin, piece.end - piece.begin));
  }
  return out;
}

}  // namespace chimewell
