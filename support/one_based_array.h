#pragma once
// Arrays numbered from 1, as the program's routines count. Every access to a member goes through
// the index check: an index below 1 or above the count raises the fatal run-time error, naming
// the check site that made the access.

#include <cstdint>
#include <utility>
#include <vector>

#include "support/fatal_error.h"
#include "support/text.h"

namespace quiz {

// Returns only when 1 <= index <= count. `site` names the check: the routine that makes it and
// the place within that routine.
void check_index(std::int32_t index, std::int32_t count, ErrorLocation site);

template <typename Member>
class OneBasedArray final {
 public:
  std::int32_t count() const { return static_cast<std::int32_t>(members_.size()); }
  bool empty() const { return members_.empty(); }

  const Member& at(std::int32_t index, ErrorLocation site) const {
    check_index(index, count(), site);
    return members_[static_cast<std::size_t>(index - 1)];
  }

  void append(Member member) { members_.push_back(std::move(member)); }
  void clear() { members_.clear(); }

 private:
  std::vector<Member> members_{};
};

using TextArray = OneBasedArray<Text>;
using IntegerArray = OneBasedArray<std::int32_t>;

}  // namespace quiz
