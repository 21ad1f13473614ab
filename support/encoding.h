#pragma once
// Whole-buffer conversions between UTF-8 and GB18030 through iconv. A conversion either succeeds
// for every byte or gives nothing: no partial result, no replacement characters.

#include <optional>
#include <string_view>

#include "support/text.h"

namespace quiz {

// Fails on any byte sequence that is not UTF-8 (including a character cut off at the end,
// overlong forms, surrogates and values above U+10FFFF). Valid UTF-8 always converts: the
// private-use characters that GB18030-2005 codes in two bytes get those codes even where the
// system's converter has none for them.
std::optional<Bytes> utf8_to_gb18030(std::string_view utf8);

// Fails on any byte sequence that is not GB18030.
std::optional<std::string> gb18030_to_utf8(std::string_view gb18030);

// For showing bytes that should be UTF-8 (a path, a file name) inside a text: invalid bytes
// become '?', so the rest can still be read.
Text utf8_to_gb18030_lossy(std::string_view utf8);

// For showing a text where UTF-8 is expected (a terminal, a log): a byte that does not
// decode becomes U+FFFD.
std::string gb18030_to_utf8_lossy(std::string_view gb18030);

}  // namespace quiz
