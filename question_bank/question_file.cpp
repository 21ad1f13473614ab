#include "question_bank/question_file.h"

#include "support/encoding.h"

namespace quiz {

QuestionText question_text_from_bytes(std::string_view bytes) {
  if (bytes.empty()) return {{}, FileProblem::unreadable};
  std::optional<Bytes> converted = utf8_to_gb18030(bytes);
  if (!converted) return {{}, FileProblem::not_utf8};
  // Cut in place: a copy of a large file's text would double what the load holds at its peak.
  if (std::size_t zero = converted->find('\0'); zero != Bytes::npos) converted->resize(zero);
  return {std::move(*converted), FileProblem::none};
}

}  // namespace quiz
