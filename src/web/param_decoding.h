#pragma once
// Decoding of form parameters ("a=1&b=x+y%21") and the case-insensitive lookup of one of them.
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

// Decoded "name=value" lines in order of appearance. All lines share one buffer, so a body of a
// million "&" costs four bytes a line rather than a string each. Lines never outgrow the
// request body they come from, which the server keeps far below 4 GiB.
class DecodedParams {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const DecodedParams* params, size_t index) : params_(params), index_(index) {}
    std::string_view operator*() const { return (*params_)[index_]; }
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
    const DecodedParams* params_ = nullptr;
    size_t index_ = 0;
  };

  DecodedParams() = default;
  DecodedParams(std::initializer_list<std::string_view> lines);

  void Reserve(size_t lines, size_t bytes);
  void Append(std::string_view line);
  // The unfinished last line, for decoding straight into the shared buffer.
  std::string& OpenLine() { return text_; }
  void CloseLine() { ends_.push_back(static_cast<uint32_t>(text_.size())); }

  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const;
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, ends_.size()}; }

  friend bool operator==(const DecodedParams&, const DecodedParams&) = default;

 private:
  std::string text_;
  std::vector<uint32_t> ends_;
};

// Decodes one piece: "+" becomes a space, "%hh" the byte hh (the value 0 or a pair that is not
// hexadecimal gives nothing; the "%" and up to two following characters are consumed either way).
std::string DecodeParamPiece(std::string_view piece);

// Cuts the text at every "&" and decodes each piece into one line, empty pieces included.
DecodedParams DecodeParams(std::string_view unparsed);

// The value of the first line whose name (text before its first "=") equals `name` without
// regard to ASCII letter case; everything after that "=". Empty when there is no such line.
std::string GetParam(const DecodedParams& param_list, std::string_view name);

}  // namespace chimewell
