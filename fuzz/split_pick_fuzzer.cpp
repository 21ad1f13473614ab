// Splits random texts at random delimiters with random limits and checks what every split must
// give. Without a limit the text must be exactly: delimiters, then the pieces with at least one
// delimiter between each two, then delimiters, where every delimiter starts where a unit starts
// and every piece ends where a unit ends (unless it ends the text); no piece is empty or holds the
// delimiter where a unit starts; the joined pieces are never longer than the text. With a limit
// N the pieces are those of the unlimited split that come before the N-th delimiter, and a
// negative limit gives none. pick_line agrees piece for piece with a split at CR LF.
//
// Input layout: byte 0 chooses the delimiter length (0 to 3; 0 means the default ","), byte 1
// is the maximum count as a signed byte, then come the delimiter's bytes and the text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

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

std::size_t unit_length(char lead) { return static_cast<unsigned char>(lead) >= 0x80 ? 2 : 1; }

// Lays the pieces of an unlimited split over the text as described above, and returns for each
// piece the number of delimiters that come before it.
std::vector<std::int32_t> lay_over_text(std::string_view text, std::string_view delimiter,
                                        const TextArray& pieces) {
  std::vector<std::int32_t> delimiters_before;
  std::int32_t delimiters = 0;
  std::size_t position = 0;
  auto skip_delimiters = [&] {
    std::int32_t skipped = 0;
    while (text.compare(position, delimiter.size(), delimiter) == 0) {
      position += delimiter.size();
      ++skipped;
    }
    delimiters += skipped;
    return skipped;
  };
  for (std::int32_t i = 1; i <= pieces.count(); ++i) {
    const Text& p = piece(pieces, i);
    require(skip_delimiters() > 0 || i == 1);
    require(text.compare(position, p.size(), p) == 0);
    delimiters_before.push_back(delimiters);
    const std::size_t end = position + p.size();
    std::size_t unit = position;
    while (unit < end) unit += unit_length(text[unit]);
    require(unit == end || end == text.size());
    position = end;
  }
  skip_delimiters();
  require(position == text.size());
  return delimiters_before;
}

void check_split(const Text& text, const Text& delimiter, std::int32_t maximum_count) {
  const std::string_view used = delimiter.empty() ? std::string_view(",") : delimiter;
  TextArray unlimited;
  unlimited.append("left over from before");
  const std::int32_t all = quiz::split_nonempty(text, delimiter, 0, unlimited);
  require(all == unlimited.count());
  std::size_t joined = 0;
  for (std::int32_t i = 1; i <= all; ++i) {
    const Text& p = piece(unlimited, i);
    require(!p.empty());
    require(!holds_delimiter_at_unit_start(p, used));
    joined += p.size();
  }
  require(joined <= text.size());
  const std::vector<std::int32_t> delimiters_before = lay_over_text(text, used, unlimited);

  if (maximum_count == 0) return;
  TextArray limited;
  const std::int32_t count = quiz::split_nonempty(text, delimiter, maximum_count, limited);
  const auto expected = static_cast<std::int32_t>(
      maximum_count < 0
          ? 0
          : std::count_if(delimiters_before.begin(), delimiters_before.end(),
                          [&](std::int32_t before) { return before < maximum_count; }));
  require(count == expected && count == limited.count());
  for (std::int32_t i = 1; i <= count; ++i) require(piece(limited, i) == piece(unlimited, i));
}

// Each pick_line call reads the text from its start, so asking for every line of a long text
// would make one input cost as much as thousands; the first lines, a middle one and the last
// ones show the same faults.
void check_pick_line(const Text& text) {
  TextArray lines;
  const std::int32_t count = quiz::split_nonempty(text, "\r\n", 0, lines);
  require(quiz::pick_line(text, 0).empty());
  require(quiz::pick_line(text, -1).empty());
  for (std::int32_t i : {1, 2, 3, 4, 5, 6, count / 2, count - 1, count}) {
    if (i >= 1 && i <= count) require(quiz::pick_line(text, i) == piece(lines, i));
  }
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
  check_pick_line(text);
  return 0;
}
