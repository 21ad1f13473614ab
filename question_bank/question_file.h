#pragma once
// From the bytes of a question file to its text: the UTF-8 is converted to GB18030, all or
// nothing, and the text ends at the first zero byte. Blank lines, a byte-order mark and stray
// CR or LF bytes are kept as they are; the lines are picked later with pick_line.

#include <string>
#include <string_view>

#include "support/text.h"

namespace quiz {

enum class FileProblem { none, unreadable, not_utf8 };

struct QuestionText {
  Text text{};
  // `unreadable` when there were no bytes; `not_utf8` when the conversion failed. The text is
  // empty in both cases.
  FileProblem problem{FileProblem::none};
};

QuestionText question_text_from_bytes(std::string_view bytes);

// The same for the file at `path` as read_whole_file reads it, but read and converted a piece at
// a time: only the text is ever held whole, never the file's bytes.
QuestionText question_text_from_file(const std::string& path);

}  // namespace quiz
