#include "support/one_based_array.h"

#include "support/fatal_error.h"
#include "support/text_literal.h"

namespace quiz {

void check_index(std::int32_t index, std::int32_t count, ErrorLocation site) {
  if (index < 1) {
    raise_fatal_error("数组成员引用下标必须大于等于1"_gb, kIndexBelowOne, site);
  }
  if (index > count) {
    raise_fatal_error("数组成员引用下标超出定义范围"_gb, kIndexAboveCount, site);
  }
}

}  // namespace quiz
