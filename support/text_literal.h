#pragma once
// The program's own fixed texts are written in this source as UTF-8 and used as GB18030:
// "刷新题目"_gb is the GB18030 text of that literal, converted on first use and kept.

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "support/text.h"

namespace quiz {

// The GB18030 text of a UTF-8 literal; a fatal run-time error when the system cannot convert it.
Text fixed_text_from_utf8(std::string_view utf8);

template <std::size_t Size>
struct Utf8Literal {
  char bytes[Size]{};
  constexpr Utf8Literal(const char (&literal)[Size]) { std::copy_n(literal, Size, bytes); }
  constexpr std::string_view view() const { return {bytes, Size - 1}; }
};

template <Utf8Literal literal>
const Text& operator""_gb() {
  static const Text text = fixed_text_from_utf8(literal.view());
  return text;
}

}  // namespace quiz
