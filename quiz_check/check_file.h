#pragma once
// Checking one question file. The file is read and turned into text by the quiz's own code
// (read_whole_file, question_text_from_bytes), and its fields are the quiz's own pick_line of
// that text, so what the checker reports is what the quiz will show. The checker adds only the
// reasons: why a file gives no text, where lines sit in the file, and how the fields relate.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "quiz_check/findings.h"
#include "support/text.h"

namespace quiz::check {

// The six fields in the quiz's order: question, options 1 to 4, answer.
using QuestionFields = std::array<Text, 6>;
inline constexpr int kQuestionLine = 1;
inline constexpr int kAnswerLine = 6;

struct FileCheck {
  std::vector<Finding> findings{};  // whole-file findings first, then in the order of the lines
  // The fields as the quiz will show them, GB18030 texts like all of the quiz's.
  QuestionFields fields{};
};

// What reading gave when it gave no bytes.
enum class NoBytesReason { empty_file, unreadable };

// Checks the content of a question file. `no_bytes` says why `bytes` is empty when it is.
FileCheck check_question_bytes(std::string_view bytes,
                               NoBytesReason no_bytes = NoBytesReason::empty_file);

// Reads the file at `path` as the quiz does and checks it.
FileCheck check_question_file(const std::string& path);

// True when one of the findings has the severity `wanted`.
bool has_severity(const FileCheck& check, Severity wanted);

}  // namespace quiz::check
