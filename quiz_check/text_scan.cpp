#include "quiz_check/text_scan.h"

#include <cstdint>
#include <string>

namespace quiz::check {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Length of the UTF-8 sequence at `at` when it is well formed, 0 when it is not.
std::size_t utf8_sequence_length(std::string_view bytes, std::size_t at) {
  const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;   // the allowed range of the second byte rules out overlong forms,
  unsigned char high = 0xBF;  // surrogates and values above U+10FFFF
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - at < length) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

bool is_ascii_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr std::string_view kIdeographicSpace = "\u3000";

enum class Edge { start, end };

// Length of the white space at one edge of `text`: ASCII spaces, tabs, CR, LF and the
// ideographic space U+3000.
std::size_t white_space_length(std::string_view text, Edge edge_side) {
  const bool from_end = edge_side == Edge::end;
  std::size_t taken = 0;
  for (;;) {
    std::string_view rest = text.substr(from_end ? 0 : taken, text.size() - taken);
    if (rest.empty()) return taken;
    char edge = from_end ? rest.back() : rest.front();
    if (is_ascii_space(edge)) {
      ++taken;
    } else if (from_end ? rest.ends_with(kIdeographicSpace) : rest.starts_with(kIdeographicSpace)) {
      taken += kIdeographicSpace.size();
    } else {
      return taken;
    }
  }
}

// A text as its leading white space, its core and its trailing white space.
struct WhiteSpaceParts {
  std::string_view lead;
  std::string_view core;
  std::string_view trail;
};

WhiteSpaceParts split_white_space(std::string_view text) {
  std::size_t front = white_space_length(text, Edge::start);
  if (front == text.size()) return {text, {}, {}};
  std::size_t back = white_space_length(text, Edge::end);
  return {text.substr(0, front), text.substr(front, text.size() - front - back),
          text.substr(text.size() - back)};
}

// Full-width forms U+FF01 to U+FF5E become ASCII 0x21 to 0x7E, and U+3000 a space. In UTF-8
// these are EF BC 81..EF BC BF, EF BD 80..EF BD 9E and E3 80 80.
std::string fold_width(std::string_view text) {
  std::string folded;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    if (text.size() - i >= 3 && byte(i) == 0xEF && (byte(i + 1) == 0xBC || byte(i + 1) == 0xBD)) {
      unsigned code = 0xFF00u + ((byte(i + 1) & 0x03u) << 6) + (byte(i + 2) & 0x3Fu);
      if (code >= 0xFF01 && code <= 0xFF5E) {
        folded += static_cast<char>(code - 0xFF01 + 0x21);
        i += 3;
        continue;
      }
    }
    if (text.substr(i).starts_with(kIdeographicSpace)) {
      folded += ' ';
      i += kIdeographicSpace.size();
      continue;
    }
    folded += text[i++];
  }
  return folded;
}

std::string fold_case(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

}  // namespace

std::vector<LineSpan> locate_lines(std::string_view text) {
  std::vector<LineSpan> lines;
  std::size_t piece_start = 0;
  int file_line = 1;
  int piece_file_line = 1;
  auto close_piece = [&](std::size_t end) {
    if (end > piece_start) lines.push_back({piece_start, end - piece_start, piece_file_line});
  };
  std::size_t scan = 0;
  while (text.size() - scan >= kLineBreak.size()) {
    if (text.compare(scan, kLineBreak.size(), kLineBreak) == 0) {
      close_piece(scan);
      scan += kLineBreak.size();
      piece_start = scan;
      piece_file_line = ++file_line;
    } else if (static_cast<unsigned char>(text[scan]) >= 0x80) {
      if (scan + 1 == text.size()) break;
      scan += 2;
    } else {
      ++scan;
    }
  }
  close_piece(text.size());
  return lines;
}

int file_line_at(std::string_view bytes, std::size_t offset) {
  int line = 1;
  std::string_view before = bytes.substr(0, offset);
  for (std::size_t at = before.find(kLineBreak); at != std::string_view::npos;
       at = before.find(kLineBreak, at + kLineBreak.size())) {
    ++line;
  }
  return line;
}

std::optional<std::size_t> first_invalid_utf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t length = utf8_sequence_length(bytes, at);
    if (length == 0) return at;
    at += length;
  }
  return std::nullopt;
}

Utf8Tally tally_utf8(std::string_view bytes) {
  Utf8Tally tally;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t length = utf8_sequence_length(bytes, at);
    if (length == 0) {
      ++tally.bad_sequences;
      length = 1;
    } else if (length > 1) {
      ++tally.multi_byte_characters;
    }
    at += length;
  }
  return tally;
}

std::optional<NearMiss> compare_near(std::string_view answer, std::string_view option) {
  if (answer == option) return std::nullopt;
  const WhiteSpaceParts answer_parts = split_white_space(answer);
  const WhiteSpaceParts option_parts = split_white_space(option);
  const std::string answer_width = fold_width(answer_parts.core);
  const std::string option_width = fold_width(option_parts.core);
  if (fold_case(answer_width) != fold_case(option_width)) return std::nullopt;
  NearMiss how;
  how.surrounding_spaces =
      answer_parts.lead != option_parts.lead || answer_parts.trail != option_parts.trail;
  how.letter_case = answer_width != option_width;
  how.character_width = fold_case(answer_parts.core) != fold_case(option_parts.core);
  return how;
}

}  // namespace quiz::check
