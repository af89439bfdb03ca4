#pragma once
// A list of text lines kept compactly, for texts that a client or a file can make huge.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

class LineList;
// The lines joined, each ended by LF: a file's text for the parsers of line files.
std::string JoinedLines(const LineList& lines);

// Lines of text in one shared buffer: a million short lines (a request body of "&", a script of
// empty lines) cost four bytes a line over their text rather than a string each. Meant for
// texts well below 4 GiB: request bodies and files that are read whole.
class LineList {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const LineList* list, size_t index) : list_(list), index_(index) {}
    std::string_view operator*() const { return (*list_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.index_ == b.index_; }

   private:
    const LineList* list_ = nullptr;
    size_t index_ = 0;
  };

  LineList() = default;
  LineList(std::initializer_list<std::string_view> lines);

  void Reserve(size_t lines, size_t bytes);
  void Append(std::string_view line);
  void push_back(std::string_view line) { Append(line); }
  // The unfinished last line, for decoding straight into the shared buffer.
  std::string& OpenLine() { return text_; }
  void CloseLine() { ends_.push_back(static_cast<uint32_t>(text_.size())); }

  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const;
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, ends_.size()}; }

  friend bool operator==(const LineList&, const LineList&) = default;

 private:
  std::string text_;
  std::vector<uint32_t> ends_;
};

}  // namespace chimewell
