#include "quiz_check/text_scan.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace quiz::check {

void PrintTo(const NearMiss& how, std::ostream* out) {
  *out << "{spaces " << how.surrounding_spaces << ", case " << how.letter_case << ", width "
       << how.character_width << "}";
}

namespace {

TEST(CompareNear, SaysHowAnAnswerDiffersFromAnOption) {
  struct Row {
    const char* name;
    const char* answer;
    const char* option;
    std::optional<NearMiss> expected;
  };
  const Row rows[] = {
      {"equal texts are no near miss", "北京", "北京", std::nullopt},
      {"other texts are no near miss", "上海", "北京", std::nullopt},
      {"trailing space", "北京 ", "北京", NearMiss{true, false, false}},
      {"leading tab on the option", "北京", "\t北京", NearMiss{true, false, false}},
      {"trailing CR", "北京\r", "北京", NearMiss{true, false, false}},
      {"ideographic space", "\u3000北京", "北京", NearMiss{true, false, false}},
      {"same spaces, other case", " H2O", " h2o", NearMiss{false, true, false}},
      {"a space inside is a real difference", "北 京", "北京", std::nullopt},
      {"full-width digits", "１４４", "144", NearMiss{false, false, true}},
      {"full-width punctuation", "1+1=？", "1+1=?", NearMiss{false, false, true}},
      {"full-width capital against small letter", "Ａ", "a", NearMiss{false, true, true}},
      {"all three at once", "ｈ２Ｏ ", "H2O", NearMiss{true, true, true}},
      {"letters outside A to Z do not fold", "É", "é", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(compare_near(row.answer, row.option), row.expected);
  }
}

TEST(FirstInvalidUtf8, FindsTheStartOfTheFirstBadSequence) {
  struct Row {
    const char* name;
    std::string_view bytes;
    std::optional<std::size_t> expected;
  };
  const Row rows[] = {
      {"ASCII", "abc", std::nullopt},
      {"Chinese and a four-byte character", "中文\U0001F600", std::nullopt},
      {"stray continuation byte", "ab\x80", 2},
      {"lead byte without its continuation", "a\xE4\xB8x", 1},
      {"character cut off at the end", "中\xE6\x96", 3},
      {"overlong slash", "\xC0\xAF", 0},
      {"overlong three-byte form", "\xE0\x80\xAF", 0},
      {"surrogate", "a\xED\xA0\x80", 1},
      {"above U+10FFFF", "\xF4\x90\x80\x80", 0},
      {"byte FF", "\xFF", 0},
      {"GBK 中", "\xD6\xD0", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(first_invalid_utf8(row.bytes), row.expected);
  }
}

TEST(LocateLines, GivesFileLinesThatCountBlankLines) {
  const auto spans = locate_lines("\r\na\r\n\r\nb\rc\r\n\r\nd");
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[0].file_line, 2);
  EXPECT_EQ(spans[1].file_line, 4);
  EXPECT_EQ(spans[1].length, 3u);  // "b\rc": a lone CR ends no line
  EXPECT_EQ(spans[2].file_line, 6);
  EXPECT_EQ(spans[2].offset, 14u);
}

TEST(LocateLines, LooksForLineEndsOnlyWhereAUnitStarts) {
  // 0x81 opens a two-byte unit with the CR after it, so that CR LF ends no line, as in the quiz.
  const auto spans = locate_lines("a\x81\r\nb\r\nc");
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0].length, 5u);
  EXPECT_EQ(spans[1].file_line, 2);
}

TEST(FileLineAt, CountsCrLfPairsBeforeTheByte) {
  EXPECT_EQ(file_line_at("ab\r\ncd\r\n\r\nef", 0), 1);
  EXPECT_EQ(file_line_at("ab\r\ncd\r\n\r\nef", 4), 2);
  EXPECT_EQ(file_line_at("ab\r\ncd\r\n\r\nef", 10), 4);
  EXPECT_EQ(file_line_at("a\nb\rc", 4), 1);
}

}  // namespace
}  // namespace quiz::check
