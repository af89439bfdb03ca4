#pragma once
// The one-time tokens of the page's add form, so that reloading the page that answered an
// addition (which repeats its request) does not add the line again. Owned by the request
// handler; UI thread.
#include <cstddef>
#include <deque>
#include <set>
#include <string>
#include <string_view>

namespace chimewell {

class AddTokens {
 public:
  // How many used tokens are remembered; older ones are forgotten, and a page that old adds
  // its line again.
  static constexpr size_t kRemembered = 256;

  // A new token for a page's add form: 32 random hexadecimal digits.
  std::string Issue() const;
  // Whether `token` is one of ours that has added its line already.
  bool Used(std::string_view token) const { return used_.contains(std::string(token)); }
  // Notes that `token` added its line. Anything not shaped like a token of ours is ignored,
  // so a request cannot fill the memory with long ones.
  void MarkUsed(std::string_view token);

 private:
  std::set<std::string, std::less<>> used_;
  std::deque<std::string> order_;  // oldest first
};

}  // namespace chimewell
