// Splits random texts at random delimiters with random limits and checks what every split must
// give: no empty piece, no piece holding the delimiter where a unit starts, pieces that lie in
// the text in order without overlapping, a limited split that is a prefix of the unlimited one,
// and pick_line agreeing piece for piece with a split at CR LF.
//
// Input layout: byte 0 chooses the delimiter length (0 to 3; 0 means the default ","), byte 1
// is the maximum count as a signed byte, then come the delimiter's bytes and the text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "question_bank/text_split.h"

namespace {

using quiz::Text;
using quiz::TextArray;

void require(bool condition) {
  if (!condition) std::abort();
}

const Text& piece(const TextArray& pieces, std::int32_t index) { return pieces.at(index, {9, 9}); }

// True when `delimiter` starts at some unit start of `piece`, walking it as the split walks.
bool holds_delimiter_at_unit_start(std::string_view piece, std::string_view delimiter) {
  std::size_t scan = 0;
  while (piece.size() - scan >= delimiter.size()) {
    if (piece.compare(scan, delimiter.size(), delimiter) == 0) return true;
    scan += static_cast<unsigned char>(piece[scan]) >= 0x80 ? 2 : 1;
    if (scan > piece.size()) break;
  }
  return false;
}

void check_split(const Text& text, const Text& delimiter, std::int32_t maximum_count) {
  const std::string_view used = delimiter.empty() ? std::string_view(",") : delimiter;
  TextArray pieces;
  pieces.append("left over from before");
  const std::int32_t count = quiz::split_nonempty(text, delimiter, maximum_count, pieces);
  require(count == pieces.count());
  if (maximum_count < 0) require(count == 0);

  std::size_t joined = 0;
  std::size_t search_from = 0;
  for (std::int32_t i = 1; i <= count; ++i) {
    const Text& p = piece(pieces, i);
    require(!p.empty());
    require(!holds_delimiter_at_unit_start(p, used));
    const std::size_t at = text.find(p, search_from);
    require(at != Text::npos);
    search_from = at + p.size();
    joined += p.size();
  }
  require(joined <= text.size());

  if (maximum_count > 0) {
    TextArray unlimited;
    const std::int32_t all = quiz::split_nonempty(text, delimiter, 0, unlimited);
    require(count <= all);
    for (std::int32_t i = 1; i <= count; ++i) require(piece(pieces, i) == piece(unlimited, i));
  }
}

void check_pick_line(const Text& text) {
  TextArray lines;
  const std::int32_t count = quiz::split_nonempty(text, "\r\n", 0, lines);
  require(quiz::pick_line(text, 0).empty());
  require(quiz::pick_line(text, -1).empty());
  for (std::int32_t i = 1; i <= count; ++i) require(quiz::pick_line(text, i) == piece(lines, i));
  require(quiz::pick_line(text, count + 1).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t delimiter_length = std::min<std::size_t>(input[0] & 3, size - 2);
  const auto maximum_count = static_cast<std::int32_t>(static_cast<std::int8_t>(input[1]));
  // Texts hold no zero byte: take the bytes before the first one, as the program does.
  const Text delimiter = quiz::bytes_to_text(input.substr(2, delimiter_length));
  const Text text = quiz::bytes_to_text(input.substr(2 + delimiter_length));

  check_split(text, delimiter, maximum_count);
  check_split(text, delimiter, 0);
  check_pick_line(text);
  return 0;
}
