#pragma once
// Byte-level helpers of the checker: where the quiz's lines sit in a text, which file line a
// byte belongs to, where UTF-8 first goes wrong, and whether an answer nearly equals an option.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "quiz_check/findings.h"
#include "support/text.h"

namespace quiz::check {

// One of the lines the quiz sees in a text: where it starts in the text, how long it is, and the
// line of the file it starts on (as an editor counts, blank lines included).
struct LineSpan {
  std::size_t offset{};
  std::size_t length{};
  int file_line{};
};

// The non-empty pieces between CR LF pairs, walked in units as the quiz's pick_line walks them (a
// byte of 0x80 or above takes the next byte with it), so the spans are exactly the quiz's lines.
std::vector<LineSpan> locate_lines(std::string_view text);

// The file line that the byte at `offset` lies on: one more than the CR LF pairs before it.
int file_line_at(std::string_view bytes, std::size_t offset);

// The offset of the first byte sequence that is not UTF-8 (bad lead byte, missing or stray
// continuation byte, overlong form, surrogate, value above U+10FFFF, character cut off at the
// end); nothing when all of `bytes` is UTF-8.
std::optional<std::size_t> first_invalid_utf8(std::string_view bytes);

// Walks `bytes` as UTF-8, skipping one byte after each sequence that is not UTF-8, and counts
// the well-formed characters of two to four bytes and the bad sequences.
struct Utf8Tally {
  std::size_t multi_byte_characters{};
  std::size_t bad_sequences{};
};
Utf8Tally tally_utf8(std::string_view bytes);

// How the UTF-8 `answer` differs from the UTF-8 `option` when they are equal once surrounding
// white space is dropped, A to Z fold to a to z and full-width forms fold to ASCII; nothing when
// they differ in more than that, or are equal as they stand.
std::optional<NearMiss> compare_near(std::string_view answer, std::string_view option);

}  // namespace quiz::check
