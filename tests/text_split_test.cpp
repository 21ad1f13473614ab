#include "question_bank/text_split.h"

#include <gtest/gtest.h>

#include <vector>

namespace quiz {
namespace {

std::vector<Text> members(const TextArray& array) {
  std::vector<Text> result;
  for (std::int32_t i = 1; i <= array.count(); ++i) result.push_back(array.at(i, {9, 9}));
  return result;
}

struct SplitCase {
  const char* name;
  Text text;
  Text delimiter;
  std::int32_t maximum_count;
  std::vector<Text> pieces;
};

TEST(SplitNonempty, Cases) {
  const SplitCase cases[] = {
      {"default delimiter drops empty pieces", "a,,b,", "", 0, {"a", "b"}},
      {"a lone delimiter gives nothing", ",", ",", 0, {}},
      {"empty text", "", ";", 0, {}},
      {"limit drops the rest", "a,b,c", ",", 2, {"a", "b"}},
      {"limit above the delimiters found", "a,b", ",", 5, {"a", "b"}},
      {"limit used up by an empty piece", ",a", ",", 1, {}},
      {"empty pieces count toward the limit", "a,,b,c", ",", 3, {"a", "b"}},
      {"negative limit", "a,b", ",", -1, {}},
      {"delimiter inside a two-byte unit is no delimiter",
       "\x81|"
       "|x",
       "|",
       0,
       {"\x81|", "x"}},
      {"trailing lead byte ends the scan", "a|\x81", "|", 0, {"a", "\x81"}},
      {"lead byte then delimiter at the very end", "a|b\x81|", "|", 0, {"a", "b\x81|"}},
      {"multi-byte delimiter", "a\r\n\r\nb\r\n", "\r\n", 0, {"a", "b"}},
      {"delimiter longer than the text", "a", "abc", 0, {"a"}},
      {"GB18030 four-byte character walked as two units",
       "\x81\x30\x81\x30,z",
       ",",
       0,
       {"\x81\x30\x81\x30", "z"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    TextArray pieces;
    pieces.append("left over");
    std::int32_t count = split_nonempty(c.text, c.delimiter, c.maximum_count, pieces);
    EXPECT_EQ(count, static_cast<std::int32_t>(c.pieces.size()));
    EXPECT_EQ(members(pieces), c.pieces);
  }
}

TEST(SplitNonempty, OmittedArgumentsMeanCommaWithoutLimit) {
  TextArray pieces;
  EXPECT_EQ(split_nonempty("x,y,,z", pieces), 3);
  EXPECT_EQ(members(pieces), (std::vector<Text>{"x", "y", "z"}));
}

struct PickCase {
  const char* name;
  Text text;
  std::int32_t index;
  Text line;
};

TEST(PickLine, Cases) {
  const Text blank_lines = "a\r\n\r\nb\r\n";
  const PickCase cases[] = {
      {"first line", blank_lines, 1, "a"},
      {"blank line skipped", blank_lines, 2, "b"},
      {"past the last line", blank_lines, 3, ""},
      {"index 0", blank_lines, 0, ""},
      {"negative index", blank_lines, -1, ""},
      {"CR CR LF keeps one CR", "a\r\r\nb", 1, "a\r"},
      {"line after CR CR LF", "a\r\r\nb", 2, "b"},
      {"LF alone ends no line", "a\nb\r\n", 1, "a\nb"},
      {"LF-only file has one line", "a\nb\r\n", 2, ""},
      {"empty text", "", 1, ""},
      {"leading blank lines", "\r\n\r\nq\r\n", 1, "q"},
      {"spaces are a line", "q\r\n  \r\nx", 2, "  "},
      {"no final CR LF", "1\r\n2\r\n3\r\n4\r\n5\r\n6", 6, "6"},
      {"seventh line", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", 7, "7"},
      {"CR LF is never the end of a two-byte unit", "\xB0\r\nx\r\n", 1, "\xB0\r\nx"},
  };
  for (const PickCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(pick_line(c.text, c.index), c.line);
  }
}

TEST(PickLine, AgreesWithSplittingEveryLine) {
  const Text text = "\r\n题\r\n\x81\x30\x81\x30\r\r\n a \r\n\r\nlast";
  TextArray lines;
  std::int32_t count = split_nonempty(text, "\r\n", 0, lines);
  for (std::int32_t index = 1; index <= count + 1; ++index) {
    EXPECT_EQ(pick_line(text, index), index <= count ? lines.at(index, {9, 9}) : Text{});
  }
}

}  // namespace
}  // namespace quiz
