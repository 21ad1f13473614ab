#include "question_bank/text_split.h"

#include <string_view>

namespace quiz {
namespace {

enum class Walk { go_on, stop };

// Hands each piece of `text` between occurrences of `delimiter`, empty ones included, to `visit`
// in order, until `visit` says stop or `limit` delimiters have been found (0: no limit).
template <typename Visit>
void walk_pieces(std::string_view text, std::string_view delimiter, std::int32_t limit,
                 Visit visit) {
  if (text.empty() || limit < 0) return;
  const std::size_t length = delimiter.size();
  std::size_t piece_start = 0;
  std::size_t scan = 0;
  while (text.size() - scan >= length) {
    if (text[scan] == delimiter[0] && text.compare(scan, length, delimiter) == 0) {
      if (visit(text.substr(piece_start, scan - piece_start)) == Walk::stop) return;
      scan += length;
      piece_start = scan;
      if (limit > 0 && --limit == 0) return;
    } else if (static_cast<unsigned char>(text[scan]) >= 0x80) {
      if (scan + 1 == text.size()) break;  // a lead byte with nothing behind it ends the walk
      scan += 2;
    } else {
      ++scan;
    }
  }
  if (piece_start < text.size()) visit(text.substr(piece_start));
}

}  // namespace

std::int32_t split_nonempty(const Text& text, const Text& delimiter, std::int32_t maximum_count,
                            TextArray& pieces) {
  pieces.clear();
  walk_pieces(text, delimiter.empty() ? "," : delimiter, maximum_count,
              [&pieces](std::string_view piece) {
                if (!piece.empty()) pieces.append(Text(piece));
                return Walk::go_on;
              });
  return pieces.count();
}

std::int32_t split_nonempty(const Text& text, TextArray& pieces) {
  return split_nonempty(text, {}, 0, pieces);
}

Text pick_line(const Text& text, std::int32_t index) {
  Text line;
  if (index < 1) return line;
  std::int32_t lines_seen = 0;
  walk_pieces(text, "\r\n", 0, [&](std::string_view piece) {
    if (piece.empty() || ++lines_seen < index) return Walk::go_on;
    line = piece;
    return Walk::stop;
  });
  return line;
}

}  // namespace quiz
