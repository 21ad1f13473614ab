#pragma once
// Splitting a text into the non-empty pieces between delimiters, and picking one line of a
// question's text. Both walk the text in units: a byte of 0x80 or above opens a two-byte unit
// with the byte after it, and a delimiter is only looked for where a unit starts, so the second
// byte of a GB18030 character never ends a piece.

#include <cstdint>

#include "support/one_based_array.h"
#include "support/text.h"

namespace quiz {

// Empties `pieces`, then fills it with copies of the non-empty pieces of `text` split at
// `delimiter` (empty means ","). A `maximum_count` N above 0 ends the split at the N-th delimiter
// found, dropping the rest of the text; 0 means no limit; a negative value gives no pieces.
// Returns the number of pieces.
std::int32_t split_nonempty(const Text& text, const Text& delimiter, std::int32_t maximum_count,
                            TextArray& pieces);
std::int32_t split_nonempty(const Text& text, TextArray& pieces);

// The index-th non-empty line of `text`, lines being ended by CR LF; the empty text when index is
// below 1 or the text has fewer lines. Reads no further than the line it returns.
Text pick_line(const Text& text, std::int32_t index);

}  // namespace quiz
