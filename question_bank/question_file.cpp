#include "question_bank/question_file.h"

#include <optional>

#include "question_bank/file_services.h"
#include "support/encoding.h"

namespace quiz {
namespace {

QuestionText text_from_converted(std::optional<Bytes> converted) {
  if (!converted) return {{}, FileProblem::not_utf8};
  // Cut in place: a copy of a large file's text would double what the load holds at its peak.
  if (std::size_t zero = converted->find('\0'); zero != Bytes::npos) converted->resize(zero);
  return {std::move(*converted), FileProblem::none};
}

}  // namespace

QuestionText question_text_from_bytes(std::string_view bytes) {
  if (bytes.empty()) return {{}, FileProblem::unreadable};
  return text_from_converted(utf8_to_gb18030(bytes));
}

QuestionText question_text_from_file(const std::string& path) {
  std::optional<Utf8ToGb18030Stream> converter;
  const bool read = read_file_in_pieces(
      path, [&converter](std::size_t size) { converter.emplace(size); },
      [&converter](std::string_view piece) { converter->add(piece); });
  if (!read) return {{}, FileProblem::unreadable};
  return text_from_converted(converter->finish());
}

}  // namespace quiz
