// Feeds random file contents through the way from bytes to the six fields of a question and
// checks: the conversion is all or nothing, judged against a UTF-8 validator of our own (valid
// UTF-8 must always convert) and against converting the text back; the text holds no zero byte; no
// field holds a zero byte or a CR LF where a unit starts; and the problem reported matches what
// happened.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "question_bank/question_file.h"
#include "question_bank/text_split.h"
#include "support/encoding.h"

namespace {

using quiz::FileProblem;
using quiz::Text;

void require(bool condition) {
  if (!condition) std::abort();
}

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF, no character cut off
// at the end.
bool is_valid_utf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return false;
    if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return false;
    i += length;
  }
  return true;
}

// True when CR LF begins at a unit start of `field`, walking it as pick_line walks.
bool holds_line_break(std::string_view field) {
  for (std::size_t scan = 0; scan + 1 < field.size();) {
    if (field[scan] == '\r' && field[scan + 1] == '\n') return true;
    scan += static_cast<unsigned char>(field[scan]) >= 0x80 ? 2 : 1;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const quiz::QuestionText file = quiz::question_text_from_bytes(bytes);
  require(file.text.find('\0') == Text::npos);

  // Up to its first zero byte the input, converted back, must be exactly what was read; past
  // that, nothing of the file is kept.
  const std::string_view kept = bytes.substr(0, bytes.find('\0'));
  if (bytes.empty()) {
    require(file.problem == FileProblem::unreadable && file.text.empty());
  } else if (!is_valid_utf8(bytes)) {
    require(file.problem == FileProblem::not_utf8 && file.text.empty());
  } else {
    require(file.problem == FileProblem::none);
    const std::optional<std::string> back = quiz::gb18030_to_utf8(file.text);
    require(back.has_value());
    if (*back != kept) {
      // The private-use characters that GB18030-2005 codes in two bytes read back as the
      // standard characters that hold those codes now; written again, they give the same text.
      require(kept.find('\xEE') != std::string_view::npos);
      require(quiz::utf8_to_gb18030(*back) == std::optional<quiz::Bytes>(file.text));
    }
  }

  const Text buffer = file.text + "\r\n";
  for (std::int32_t line = 1; line <= 7; ++line) {
    const Text field = quiz::pick_line(buffer, line);
    require(field.find('\0') == Text::npos);
    require(!holds_line_break(field));
    require(field.size() <= file.text.size());
  }
  return 0;
}
