#pragma once
// Whole-buffer conversions between UTF-8 and GB18030 through iconv. A conversion either succeeds
// for every byte or gives nothing: no partial result, no replacement characters.

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "support/text.h"

namespace quiz {

// Fails on any byte sequence that is not UTF-8 (including a character cut off at the end,
// overlong forms, surrogates and values above U+10FFFF). Valid UTF-8 always converts: the
// private-use characters that GB18030-2005 codes in two bytes get those codes even where the
// system's converter has none for them.
std::optional<Bytes> utf8_to_gb18030(std::string_view utf8);

// The same conversion fed a piece at a time, so that a large file need never be held whole: the
// result is what utf8_to_gb18030 gives for all the pieces joined, and a character may be split
// between two pieces. The output is reserved once, from the input size the caller expects.
class Utf8ToGb18030Stream final {
 public:
  explicit Utf8ToGb18030Stream(std::size_t expected_input_size);
  ~Utf8ToGb18030Stream();
  Utf8ToGb18030Stream(const Utf8ToGb18030Stream&) = delete;
  Utf8ToGb18030Stream& operator=(const Utf8ToGb18030Stream&) = delete;

  // Converts the next piece. False once the input is known not to be UTF-8; later pieces are
  // then ignored.
  bool add(std::string_view piece);

  // The converted bytes; nothing when a piece was not UTF-8 or the input ended inside a
  // character.
  std::optional<Bytes> finish();

 private:
  enum class Outcome { converted, incomplete, invalid };
  Outcome convert(const char*& in, std::size_t& in_left);
  bool fail();

  struct Converter;
  std::unique_ptr<Converter> converter_;
  Bytes output_{};
  // The first bytes of a character that the previous piece cut off.
  char pending_[8]{};
  std::size_t pending_size_{0};
  bool failed_{false};
};

// Fails on any byte sequence that is not GB18030.
std::optional<std::string> gb18030_to_utf8(std::string_view gb18030);

// For showing bytes that should be UTF-8 (a path, a file name) inside a text: invalid bytes
// become '?', so the rest can still be read.
Text utf8_to_gb18030_lossy(std::string_view utf8);

// For showing a text where UTF-8 is expected (a terminal, a log): a byte that does not
// decode becomes U+FFFD.
std::string gb18030_to_utf8_lossy(std::string_view gb18030);

}  // namespace quiz
